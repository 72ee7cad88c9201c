#pragma once

#include "document/RecoveryCopy.h"

// The state of a recovery copy that only the tests look at: whether a copy
// is being written, and waiting for it. RecoveryCopy names this class its
// friend; nothing of the program uses it.
class RecoveryCopyAccess
{
public:
    static bool isWriting(const RecoveryCopy &copy) { return copy.m_writing; }
    // Waits until no copy is being written, and handles the end of the write.
    static void waitForWrite(RecoveryCopy &copy) { copy.finishWrite(); }
};
