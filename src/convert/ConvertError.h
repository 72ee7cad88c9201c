#pragma once

#include "base/TabloraError.h"

// A run that cannot be done: input that is not what the command reads, or an
// output that cannot be written. The message is the one line the converter
// prints: it names the file and, where there is one, the line or the record.
// The converter exits with status 1.
class ConvertError : public TabloraError
{
public:
    using TabloraError::TabloraError;
};
