#pragma once

#include <QString>
#include <QTemporaryDir>

// Points XDG_CONFIG_HOME, XDG_DATA_HOME and XDG_RUNTIME_DIR at fresh folders
// for the lifetime of the object, so a test never touches the real user's
// settings. FONTCONFIG_FILE is left alone unless useSyntheticFonts() is called.
class TestEnvironment {
public:
    TestEnvironment();
    ~TestEnvironment();
    QString configHome() const;
    QString dataHome() const;
    QString runtimeDir() const;
    QString root() const { return m_dir.path(); }
    // Points fontconfig at the synthetic test fonts built with the tests.
    static void useSyntheticFonts();
    static QString syntheticFontsDir();

private:
    QTemporaryDir m_dir;
    QByteArray m_saved[3];
};
