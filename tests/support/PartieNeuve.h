#ifndef QV_TEST_PARTIENEUVE_H
#define QV_TEST_PARTIENEUVE_H

#include "support/TempDir.h"

#include <gtest/gtest.h>

namespace fixtures {

// Every global of the game as the program has it at start-up (no game
// parameters, no translation or definitions file, no menu option set, no
// timer armed), then the built-in rules and an empty game through init_board.
void etatDeDemarrage();

}  // namespace fixtures

// Base of the tests that read the game's globals: each test starts from the
// start-up state in a fresh current folder (the program writes its running
// files there) and leaves no timer armed behind it.
class PartieNeuve : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    InTempDir dossier_;
};

#endif
