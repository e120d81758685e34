#pragma once

namespace app {

// Loads the fonts in the folder "fonts" beside the program: the portable Windows folder keeps
// there the families the window is drawn in, which a system without them would replace. Needs
// the application object. The number of fonts loaded; 0 without such a folder.
int LoadBundledFonts();

} // namespace app
