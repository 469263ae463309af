#include "GuiTestRegistry.h"

#include <QTest>

namespace toneloft::test {

int runGuiTests(int argc, char* argv[])
{
    int failures = 0;
    for (const auto& factory : guiTestFactories()) {
        auto test = factory();
        failures += QTest::qExec(test.get(), argc, argv);
    }
    return failures;
}

} // namespace toneloft::test
