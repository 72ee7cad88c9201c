#pragma once

#include "base/TabloraError.h"

// A command line the converter does not understand. The message says what is
// wrong; the usage text follows it and the converter exits with status 2.
class UsageError : public TabloraError
{
public:
    using TabloraError::TabloraError;
};
