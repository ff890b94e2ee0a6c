// The suite's settings file Corvane.ini in the program folder: how many keys the machine has and
// the assignments the keys get by default. Read afresh on every call, so that an edit of the file
// takes effect without a rebuild or a restart.
#pragma once

#include "KeyState.h"

// The key count, 1 to 6.
int ReadKeyCount();

// Every key as the suite sets it up; keys without a default are unassigned.
CKeyTable ReadDefaultKeys();
