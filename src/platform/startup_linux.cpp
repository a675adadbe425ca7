#include "platform/startup.h"

#include <QByteArray>
#include <QtGlobal>

void PrepareWindowingEnvironment()
{
    // Nothing of ours draws with OpenGL; loading the GL driver (llvmpipe alone is ~45 MB)
    // would double what the idle instance holds.
    if (!qEnvironmentVariableIsSet("QT_XCB_GL_INTEGRATION"))
        qputenv("QT_XCB_GL_INTEGRATION", "none");
}
