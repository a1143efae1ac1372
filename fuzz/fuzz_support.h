#pragma once

// What the fuzz targets share: a Qt application object (some readers look
// for image plugins through it), Qt's messages kept quiet so that a run's
// output is libFuzzer's own, and a scratch file for the readers that take a
// path rather than bytes.

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace ziro::fuzz {

inline void quietMessages(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    // A fatal message is a finding: let it through and stop.
    if (type == QtFatalMsg) {
        fprintf(stderr, "qFatal: %s\n", qPrintable(message));
        abort();
    }
}

inline void start(int* argc, char*** argv)
{
    qInstallMessageHandler(quietMessages);
    static QCoreApplication app(*argc, *argv);
}

inline QByteArray bytesOf(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

// A folder of this process, removed when it ends.
inline QString scratchFolder()
{
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/ziro-fuzz-XXXXXX"));
    if (!dir.isValid())
        abort();
    return dir.path();
}

// Writes the input to `name` in the scratch folder, replacing the last one.
inline QString scratchFile(const QString& name, const QByteArray& bytes)
{
    const QString path = scratchFolder() + QLatin1Char('/') + name;
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        abort();
    return path;
}

// A finding the sanitizers cannot see (a broken promise of the reader).
#define ZIRO_FUZZ_CHECK(condition)                                                          \
    do {                                                                                    \
        if (!(condition)) {                                                                 \
            fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition);   \
            abort();                                                                        \
        }                                                                                   \
    } while (0)

}  // namespace ziro::fuzz

#define ZIRO_FUZZ_START                                                                     \
    extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)                            \
    {                                                                                       \
        ziro::fuzz::start(argc, argv);                                                      \
        return 0;                                                                           \
    }
