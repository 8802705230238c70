#pragma once

#include <QFont>

// The classic dialog font, "MS Sans Serif", asked for by name first; where it
// does not exist (Linux, macOS) a metric-alike sans serif stands in. Sizes are
// fixed in pixels (8.25 pt is 11 px at 96 dpi) because the windows are laid
// out in fixed pixel positions whatever the screen's dpi.
namespace Fonts {

QFont DialogFont(bool bold, int pixelSize = 11);

}  // namespace Fonts
