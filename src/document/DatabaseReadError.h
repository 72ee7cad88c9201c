#pragma once

#include "base/TabloraError.h"

// A Database file or a plain line list that could not be read. The message
// says why; the converter prints it. The window's commands that load files
// put a fixed message of their own in its place, so there the reason reaches
// neither the user nor the error log.
class DatabaseReadError : public TabloraError
{
public:
    using TabloraError::TabloraError;
};
