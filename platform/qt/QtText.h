// Text at the Qt edge: the program's code page 932 strings to QString and back.
#pragma once

#include <string>

#include <QString>

namespace platform::qt {

QString ToQString(const std::string& cp932Text);
// Characters without a code page 932 form are dropped, as an ANSI edit cannot hold them.
std::string FromQString(const QString& text);
// True when every character of text has a code page 932 form.
bool HasCp932Form(const QString& text);

}  // namespace platform::qt
