#pragma once

#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <QtGlobal>

// Points this process's runtime folder, where the program takes its single-instance lock,
// at a fresh folder for the object's lifetime. Tests that start the program side by side,
// in one suite or in other checkouts on the same machine, would otherwise find one
// another's lock taken.
class PrivateRuntimeFolder {
public:
    PrivateRuntimeFolder()
        : m_wasSet(qEnvironmentVariableIsSet(kVariable))
        , m_previous(qgetenv(kVariable)) {
        qputenv(kVariable, QFile::encodeName(m_folder.path()));
    }

    ~PrivateRuntimeFolder() {
        if (m_wasSet)
            qputenv(kVariable, m_previous);
        else
            qunsetenv(kVariable);
    }

    PrivateRuntimeFolder(const PrivateRuntimeFolder&) = delete;
    PrivateRuntimeFolder& operator=(const PrivateRuntimeFolder&) = delete;

private:
    static constexpr const char* kVariable = "XDG_RUNTIME_DIR";
    QTemporaryDir m_folder;
    bool m_wasSet;
    QByteArray m_previous;
};
