#pragma once

#include <QObject>

#include <functional>
#include <memory>
#include <vector>

namespace toneloft::test {

// Every test class registers a factory; main runs them all in turn, so the
// window tests are one program and one CTest entry.
using GuiTestFactory = std::function<std::unique_ptr<QObject>()>;

inline std::vector<GuiTestFactory>& guiTestFactories()
{
    static std::vector<GuiTestFactory> factories;
    return factories;
}

struct GuiTestRegistration {
    explicit GuiTestRegistration(GuiTestFactory factory)
    {
        guiTestFactories().push_back(std::move(factory));
    }
};

int runGuiTests(int argc, char* argv[]);

} // namespace toneloft::test

#define TONELOFT_GUI_TEST(Class)                                                          \
    static const ::toneloft::test::GuiTestRegistration registration##Class(                \
        [] { return std::unique_ptr<QObject>(new Class); })
