#include "support/Corpus.h"
#include "support/SessionFixture.h"

#include "voice/VoiceFileFormat.h"
#include "voice/clsVoiceData.h"

#include <filesystem>

namespace toneloft {
namespace {

namespace fs = std::filesystem;

// Every real file, and files made to break the rules, go through what info
// and convert do: open (voices inside refused data included), read every
// voice, save in each of the four layouts and open the result again. The
// sanitizer build runs the same sweep; here the results are checked too.
class CorpusSweep : public test::SessionFixture {
protected:
    CorpusSweep() { session.voicesInside = Session::VoicesInside::Open; }

    // The files of the sweep: the corpus and hostile ones written here.
    std::vector<std::string> sweepFiles()
    {
        std::vector<std::string> files;
        for (const auto& entry : fs::directory_iterator(test::corpusDir()))
            if (entry.is_regular_file() && entry.path().extension() != ".md")
                files.push_back(entry.path().string());
        const std::string bank = test::makeVoiceFile(3, 32);
        const std::string header("\xF0\x43\x00\x09\x20\x00", 6);
        files.push_back(dir.write("empty.syx", ""));
        files.push_back(dir.write("one.syx", "\xF0"));
        files.push_back(dir.write("120.syx", header + std::string(114, '\x7F')));
        files.push_back(dir.write("cut.syx", bank.substr(0, 4103)));
        files.push_back(dir.write("tail.syx", bank + std::string(57, '\xFF')));
        files.push_back(dir.write("highbits.syx", header + std::string(4098, '\xFF')));
        files.push_back(dir.write("headers.syx", header + header + header + std::string(4086, '\xF7')));
        files.push_back(dir.write("inside.bin", std::string(128, '\x55') + bank + std::string(3, '\xF0')));
        files.push_back(dir.write("bad-singles.syx", std::string(3 * 163, '\xF0')));
        return files;
    }

    // Opens a file as File Open does, and reads each of its voices.
    std::shared_ptr<VoiceList> openAndRead(const std::string& path)
    {
        clsVoiceNames names(session);
        auto list = names.CreateVoiceListandFileImage(path, false);
        if (!list)
            return nullptr;
        clsVoiceData voice(ui);
        for (long position = 1; position <= list->voiceCount(); ++position) {
            ByteString unpacked;
            std::int32_t crc = 0;
            EXPECT_TRUE(voice.GetVoiceData(list->rsmfimage(), position, list->FileType,
                                           clsVoiceData::GetVoiceMode::StringOnly, 0, unpacked, crc));
            EXPECT_EQ(unpacked.size(), 155u);
        }
        return list;
    }
};

TEST_F(CorpusSweep, EveryFileOpensOrIsRefusedAndConvertsToEachLayoutAndBack)
{
    TONELOFT_REQUIRE_CORPUS();
    int opened = 0;
    for (const std::string& path : sweepFiles()) {
        SCOPED_TRACE(path);
        const std::string before = test::TempDir::read(path);
        auto list = openAndRead(path);
        EXPECT_EQ(test::TempDir::read(path), before); // opening never writes
        if (!list)
            continue;
        ++opened;
        const ByteArray image = list->image();
        const long count = list->voiceCount();
        ASSERT_GT(count, 0);
        for (int type = 0; type <= 3; ++type) {
            ByteArray converted = image;
            ASSERT_TRUE(RestructureFileBufferByt(ui, converted, list->FileType, type));
            const std::string out = dir.file("out" + std::to_string(type));
            clsVoiceNames names(session);
            ASSERT_TRUE(names.SaveVoiceDataToFileByt(&converted, out, type, type == 1 || type == 3, {}, "",
                                                     clsVoiceNames::FileAttributes::Normal));
            auto back = openAndRead(out);
            ASSERT_TRUE(back) << "layout " << type;
            EXPECT_EQ(back->voiceCount(), count) << "layout " << type;
            // Within one layout class the voices come back byte for byte.
            if (IsPackedType(type) == IsPackedType(list->FileType))
                EXPECT_EQ(back->image(), image) << "layout " << type;
            else
                EXPECT_EQ(back->image(), converted) << "layout " << type;
            back->names().FileClose(*back);
        }
        list->names().FileClose(*list);
    }
    EXPECT_GE(opened, 20);
}

} // namespace
} // namespace toneloft
