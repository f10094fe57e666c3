#pragma once

#include <QString>

// Gives a saved file the classic Finder type and creator codes (four characters each) that the
// game and old Mac tools look for. Only macOS keeps them; elsewhere this does nothing. Best
// effort: a failure is not reported, the file itself is already complete.
void setMacFileType(const QString& path, const char* type, const char* creator);
