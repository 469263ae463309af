#include "support/CliRun.h"
#include "support/TempDir.h"
#include "support/VoiceFiles.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <sstream>
#include <string>

namespace toneloft {
namespace {

// A strict reader of one flat JSON object of strings, numbers and null, as
// RFC 8259 has it: raw control characters and bytes that are not well-formed
// UTF-8 are refused. String values come back with \udc80-\udcff turned into
// the bytes 80-FF they stand for (so a file name can be compared byte for byte),
// other escapes as UTF-8.
class FlatJson {
public:
    static std::optional<std::map<std::string, std::string>> parse(const std::string& text)
    {
        FlatJson p(text);
        std::map<std::string, std::string> fields;
        if (!p.eat('{'))
            return std::nullopt;
        do {
            auto key = p.string();
            if (!key || !p.eat(':'))
                return std::nullopt;
            auto value = p.peek() == '"' ? p.string() : p.bare();
            if (!value)
                return std::nullopt;
            fields[*key] = *value;
        } while (p.eat(','));
        if (!p.eat('}') || p.m_at != text.size())
            return std::nullopt;
        return fields;
    }

private:
    explicit FlatJson(const std::string& text) : m_text(text) {}
    char peek() const { return m_at < m_text.size() ? m_text[m_at] : '\0'; }
    bool eat(char c)
    {
        if (peek() != c)
            return false;
        ++m_at;
        return true;
    }
    std::optional<std::string> bare()
    {
        const std::size_t start = m_at;
        while (m_at < m_text.size() && std::string_view("-0123456789null").find(m_text[m_at]) != std::string::npos)
            ++m_at;
        if (m_at == start)
            return std::nullopt;
        return m_text.substr(start, m_at - start);
    }
    static void appendUtf8(std::string& out, unsigned cp)
    {
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | cp >> 6);
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xE0 | cp >> 12);
            out += static_cast<char>(0x80 | (cp >> 6 & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
    }
    std::optional<std::string> string()
    {
        if (!eat('"'))
            return std::nullopt;
        std::string out;
        while (m_at < m_text.size()) {
            const auto c = static_cast<unsigned char>(m_text[m_at]);
            if (c == '"') {
                ++m_at;
                return out;
            }
            if (c < 0x20)
                return std::nullopt;
            if (c == '\\') {
                if (m_at + 1 >= m_text.size())
                    return std::nullopt;
                const char e = m_text[m_at + 1];
                m_at += 2;
                const std::string simple = "\"\\/bfnrt";
                const std::string meant = "\"\\/\b\f\n\r\t";
                if (const auto k = simple.find(e); k != std::string::npos) {
                    out += meant[k];
                } else if (e == 'u' && m_at + 4 <= m_text.size()) {
                    const std::string hex = m_text.substr(m_at, 4);
                    if (hex.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
                        return std::nullopt;
                    const unsigned cp = static_cast<unsigned>(std::stoul(hex, nullptr, 16));
                    m_at += 4;
                    if (cp >= 0xDC80 && cp <= 0xDCFF)
                        out += static_cast<char>(cp - 0xDC00);
                    else
                        appendUtf8(out, cp);
                } else {
                    return std::nullopt;
                }
                continue;
            }
            // Raw bytes must be well-formed UTF-8 (checked loosely by length and
            // continuation bytes, enough to catch a lone Latin-1 byte).
            std::size_t length = c < 0x80 ? 1 : c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC2 ? 2 : 0;
            if (length == 0 || m_at + length > m_text.size())
                return std::nullopt;
            for (std::size_t k = 1; k < length; ++k)
                if ((static_cast<unsigned char>(m_text[m_at + k]) & 0xC0) != 0x80)
                    return std::nullopt;
            out.append(m_text, m_at, length);
            m_at += length;
        }
        return std::nullopt;
    }

    const std::string& m_text;
    std::size_t m_at = 0;
};

// Single quotes keep every byte but the quote itself as it is.
std::string shellWord(const std::string& s)
{
    std::string out = "'";
    for (const char c : s)
        out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

TEST(CliJson, FileNamesOfAnyBytesGiveValidJsonThatReadsBackToTheSameBytes)
{
    test::TempDir dir;
    const std::string bank = test::makeVoiceFile(3, 32);
    const std::vector<std::string> names = {
        "caf\xE9 latin-1.syx",         // a lone Latin-1 byte
        "caf\xC3\xA9 utf-8.syx",       // well-formed UTF-8 stays as it is
        "tab\tctl\x01\x7F quote\" back\\.syx",
        "overlong \xC0\xAF.syx",       // an overlong '/' is not UTF-8
        "surrogate \xED\xA0\x80.syx",  // nor is an encoded surrogate
        "cut \xE2\x82.syx",            // nor a sequence cut short
    };
    std::string args = "info --json";
    std::vector<std::string> paths;
    for (const auto& name : names) {
        paths.push_back(dir.write(name, bank));
        args += " " + shellWord(paths.back());
    }
    const std::string refused = dir.write("refused \xFF.syx", std::string(4196, 'x'));
    paths.push_back(refused);
    args += " " + shellWord(refused);

    const test::CliRun r = test::runCli(args, dir);
    EXPECT_EQ(r.status, 1); // the last file is refused
    std::istringstream lines(r.out);
    std::string line;
    std::size_t n = 0;
    while (std::getline(lines, line)) {
        ASSERT_LT(n, paths.size()) << line;
        const auto fields = FlatJson::parse(line);
        ASSERT_TRUE(fields) << "not JSON: " << line;
        EXPECT_EQ(fields->at("file"), paths[n]);
        if (n < names.size()) {
            EXPECT_EQ(fields->at("voices"), "32");
        }
        ++n;
    }
    EXPECT_EQ(n, paths.size());
    // The refusal message names the file too, escaped the same way.
    const std::size_t lastLine = r.out.rfind('{');
    const auto last = FlatJson::parse(r.out.substr(lastLine, r.out.find('\n', lastLine) - lastLine));
    ASSERT_TRUE(last);
    EXPECT_EQ(last->at("message"), refused + " does not contain DX7 voice data ");
    EXPECT_NE(r.out.find("caf\\udce9 latin-1"), std::string::npos);
    EXPECT_NE(r.out.find("caf\xC3\xA9 utf-8"), std::string::npos);
    EXPECT_NE(r.out.find("tab\\tctl\\u0001\\u007f quote\\\" back\\\\"), std::string::npos);
}

} // namespace
} // namespace toneloft
