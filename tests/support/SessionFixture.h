#pragma once

#include "support/ScriptedUi.h"
#include "support/TempDir.h"
#include "support/VoiceFiles.h"
#include "voice/Session.h"
#include "voice/VoiceList.h"
#include "voice/clsVoiceLists.h"
#include "voice/clsVoiceNames.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace toneloft::test {

// A session whose program directory is a fresh temporary folder holding a DXInit.dat.
class SessionFixture : public ::testing::Test {
protected:
    SessionFixture() : session(ui, dir.folder())
    {
        dir.write("DXInit.dat", MakeInitBankFile());
    }

    std::shared_ptr<VoiceList> open(const std::string& path, bool temporary = false)
    {
        clsVoiceNames names(session);
        return names.CreateVoiceListandFileImage(path, temporary);
    }

    std::shared_ptr<VoiceList> openNew(const std::string& name, int fileType, int voices)
    {
        return open(dir.write(name, makeVoiceFile(fileType, voices)));
    }

    // Answers the next save dialog with a file in the temporary folder.
    void chooseSaveFile(const std::string& name)
    {
        ui.fileAnswers.push_back(ScriptedUi::chose(dir.folder(), {name}));
    }

    std::string nameAt(VoiceList& list, long position)
    {
        auto rows = list.rsmfimage().clone();
        rows->setAbsolutePosition(position);
        return rows->text(clsVoiceNames::kNames);
    }

    TempDir dir;
    ScriptedUi ui;
    Session session;
};

} // namespace toneloft::test
