#pragma once

#include <QObject>
#include <QPointer>

#include <cstdint>
#include <memory>
#include <optional>

namespace toneloft {

class ListWindowManager;
class RandomiseVoices;
class Session;
class frmRandomiseVoices;
class frmStartup;

// Puts the patch generator into the desktop program: its core lives from the
// start, so that its tree follows every list opened; the Patch Generator command
// shows its window; new voices open through the voice lists' own LoadVoice.
class RandomiseVoicesHost : public QObject {
    Q_OBJECT

public:
    RandomiseVoicesHost(Session& session, frmStartup& mainWindow, ListWindowManager& lists,
                        std::optional<std::uint64_t> seed = {});
    ~RandomiseVoicesHost() override;
    RandomiseVoicesHost(const RandomiseVoicesHost&) = delete;
    RandomiseVoicesHost& operator=(const RandomiseVoicesHost&) = delete;

    RandomiseVoices& core() { return *m_core; }
    // The window, made hidden on first use.
    frmRandomiseVoices& window();
    // Tools > Patch Generator.
    void showWindow();

private:
    frmStartup& m_main;
    ListWindowManager& m_lists;
    std::unique_ptr<RandomiseVoices> m_core;
    QPointer<frmRandomiseVoices> m_window;
};

} // namespace toneloft
