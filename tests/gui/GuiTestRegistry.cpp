#include "GuiTestRegistry.h"

#include <QTest>

namespace toneloft::test {

int runGuiTests(int argc, char* argv[])
{
    // TONELOFT_GUI_TESTS="ClassA,ClassB" runs only those classes (a run under
    // other screen settings needs only its own).
    const QStringList only =
        qEnvironmentVariable("TONELOFT_GUI_TESTS").split(QLatin1Char(','), Qt::SkipEmptyParts);
    int failures = 0;
    for (const auto& factory : guiTestFactories()) {
        auto test = factory();
        if (!only.isEmpty() && !only.contains(QString::fromLatin1(test->metaObject()->className())))
            continue;
        failures += QTest::qExec(test.get(), argc, argv);
    }
    return failures;
}

} // namespace toneloft::test
