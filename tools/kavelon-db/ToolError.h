#pragma once
// A failure of the database tool: the message is what the user reads on the terminal.

#include "data/Errors.h"

namespace kavelon::dbtool {

KAVELON_ERROR_CLASS(ToolError, Error)

} // namespace kavelon::dbtool
