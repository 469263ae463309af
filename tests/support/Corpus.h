#pragma once

#include <filesystem>
#include <string>

#include <gtest/gtest.h>

namespace toneloft::test {

inline std::filesystem::path corpusDir()
{
    return std::filesystem::path(TONELOFT_CORPUS_DIR);
}

inline bool haveCorpus()
{
    return std::filesystem::is_directory(corpusDir());
}

// Use at the top of a test that reads the real-world files. They travel with
// the repository, so a missing folder is a broken checkout, not a reason to skip.
#define TONELOFT_REQUIRE_CORPUS()                                                             \
    do {                                                                                      \
        if (!::toneloft::test::haveCorpus())                                                  \
            GTEST_FAIL() << "corpus folder not found: " << ::toneloft::test::corpusDir();     \
    } while (false)

} // namespace toneloft::test
