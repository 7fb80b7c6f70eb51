#pragma once

// What the console program's tests share: the program, its error text, and a
// fixture that skips when the build has no console program.

#include <gtest/gtest.h>

#include <string>

#include "CliProcess.h"

namespace CliProcess {

// The error box's text as the program prints it to standard error.
inline std::string ErrorBox(const std::string& message, const std::string& excerpt) {
    return "在以下位置发生 \"" + message + "\" 错误\n\n    " + excerpt + "\n";
}

class CliFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!kCliPath)
            GTEST_SKIP() << "tallyfern-cli is not part of this build";
    }
};

}  // namespace CliProcess
