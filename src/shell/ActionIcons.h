#pragma once

#include <QIcon>
#include <QStyle>
#include <initializer_list>

#include "engine/CommandCatalogue.h"

namespace ordwell {

// The first of the named icons the desktop's icon theme has (or the fallback
// theme, see UseFallbackIconTheme), else the style's own picture (none for
// QStyle::SP_CustomBase).
QIcon ThemeIcon(std::initializer_list<const char*> names, QStyle::StandardPixmap fallback);
// The toolbar icon of a macro command: a theme icon that shows what it does,
// else a small badge of our own with the command's initials.
QIcon CommandIcon(CommandId command);
// The toolbar icon of a label line, which is no command: the same kind of
// icon.
QIcon LabelIcon();
// The program's icon, drawn here: a macro's lines with a run arrow.
QIcon ApplicationIcon();
// Lets icons the user's theme lacks come from Adwaita, where it is installed,
// before the style's few pictures are used.
void UseFallbackIconTheme();

} // namespace ordwell
