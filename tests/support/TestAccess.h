#pragma once

#include "document/RecoveryCopy.h"

// What tests look at inside the program's classes beyond what the program
// itself uses: the one friend those classes name.
class TestAccess
{
public:
    // Whether a recovery copy is being written.
    static bool isWriting(const RecoveryCopy &copy) { return copy.m_writing; }
    // Waits until no recovery copy is being written, and handles its end.
    static void waitForWrite(RecoveryCopy &copy) { copy.finishWrite(); }
};
