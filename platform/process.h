// Facts about this process.
#pragma once

// The full path of the program's own file, zero-terminated UTF-16 in at most capacity units.
// Returns its length, 0 when the platform does not know it.
int programPath(char16_t* buffer, int capacity);
