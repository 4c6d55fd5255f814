#pragma once

// Each runs one test class with QTest::qExec and answers its failure count.
namespace ampelsim::test {

int RunFormLadenTests(int argc, char** argv);
int RunFormUhrzeitTests(int argc, char** argv);
int RunBuildOutputsTests(int argc, char** argv);

}  // namespace ampelsim::test
