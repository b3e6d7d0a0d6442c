#pragma once

#include "app/artwork.h"

#include <QIcon>

namespace zelkor {

// The icons the windows show, drawn by the build into the program's
// resources: drawing them at start loaded bold Japanese fonts for a few
// characters and made the window late.
QIcon commandIcon(CommandArt art);
QIcon applicationIcon();

} // namespace zelkor
