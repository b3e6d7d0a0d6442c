#pragma once

namespace zelkor {

// Makes the program's own style, a proxy over the style Qt chose, the
// application's style (once; later calls keep it).
void installProgramStyle();

} // namespace zelkor
