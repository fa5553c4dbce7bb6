#include "shell/Platform.h"

#include "shell/QtPlatform.h"

namespace {

Platform* installed = nullptr;

} // namespace

Platform& platform() {
    static QtPlatform qtPlatform;
    return installed ? *installed : qtPlatform;
}

ScopedPlatform::ScopedPlatform(Platform& replacement)
    : m_previous(installed) {
    installed = &replacement;
}

ScopedPlatform::~ScopedPlatform() {
    installed = m_previous;
}
