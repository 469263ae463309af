#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace toneloft {

// The program's MIDI state, one per Session: which devices are open, what the
// device dialogue lists, the receive in progress and the main window's record
// of receives.
struct MidiState {
    static constexpr const char* kIdleData = "No Data"; // nothing received yet
    static constexpr const char* kNoData = "No data";   // a bad buffer ended the wait
    static constexpr const char* kNone = "<None>";

    bool inputOpen = false;
    bool outputOpen = false;
    std::string inputDeviceName;
    std::string outputDeviceName;
    // -2 none chosen, -1 the mapper (output only), 0.. a device index
    int outputDeviceId = -2;
    int inputDeviceId = -2;
    bool mapperPresent = false;
    // Set by the start-up switch "c": input time stamps are the service's own;
    // otherwise events are stamped on arrival at the monitor.
    bool callbackMode = false;
    std::int64_t inputStartTime = 0; // the UiServices clock when input was started

    // The device dialogue's lists: entry 0 is "<None>"; the ids map the other
    // entries to device indexes (a device whose name cannot be read is left out).
    std::vector<std::string> outputList;
    std::vector<std::string> inputList;
    std::vector<int> outputListIds;
    std::vector<int> inputListIds;
    int outputListIndex = 0;
    int inputListIndex = 0;
    // Entries 1..n of each list are real devices; stand-ins (the virtual DX7) follow.
    int outputListReal = 0;
    int inputListReal = 0;
    // The names chosen in the dialogue: opening looks them up again, as the
    // service's device numbers change when ports come and go.
    std::string chosenOutputName;
    std::string chosenInputName;

    // The receive in progress: the DX7 format waited for, or -1.
    int requestedDumpType = -1;
    // kIdleData, or the last complete message (kNoData after a bad buffer).
    std::string receivedData = kIdleData;
    int currentChannel = 0; // 0-15, for dump requests
    // 0 skip, 1 request dumps (TX7), 2 wait for a manual dump (DX7), -1 cancelled
    int detectionMode = 0;

    // The main window's receive record.
    long receiveCounter = 0;
    std::int64_t receiveTimeLimitMs = 0;
    int lastReceiveFileType = 0; // 1 single voice, 3 bank
};

} // namespace toneloft
