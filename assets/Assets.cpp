// The title picture, the button glyphs and the application icon, built into the program.
#include "assets/Assets.h"

#include <QtGlobal>

// Q_INIT_RESOURCE declares the resource's registration function where it is used, so it must be
// called outside any namespace.
static void registerAssetResource() {
    Q_INIT_RESOURCE(assets);
}

namespace tivla {

void initAssets() {
    // Registering twice would only list the same files twice; once is enough.
    static const bool registered = [] {
        registerAssetResource();
        return true;
    }();
    Q_UNUSED(registered);
}

} // namespace tivla
