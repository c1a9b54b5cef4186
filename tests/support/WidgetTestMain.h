#pragma once
// The main() of every widget test binary: the offscreen platform, the application
// set up as the program sets it up (translations, fonts), then the Qt Test case.

#include <QObject>

#include <functional>
#include <memory>

namespace solvena {

// Runs `test`'s test functions within an application made from argc/argv.
int runWidgetTest(int argc, char** argv, const std::function<std::unique_ptr<QObject>()>& makeTest);

#define SOLVENA_WIDGET_TEST_MAIN(TestClass)                                                    \
    int main(int argc, char** argv)                                                            \
    {                                                                                          \
        return runWidgetTest(argc, argv, [] { return std::make_unique<TestClass>(); });        \
    }

}  // namespace solvena
