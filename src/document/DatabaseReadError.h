#pragma once

#include "base/TabloraError.h"

// A Database file or a plain line list that could not be read. The message
// says why, for the log; the commands that load files show their own.
class DatabaseReadError : public TabloraError
{
public:
    using TabloraError::TabloraError;
};
