// Runs the fuzz target over files and folders given on the command line, so
// the corpus and every saved crash input stay regression tests without clang.

#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <cstdint>
#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size);

int main(int argc, char **argv)
{
    int count = 0;
    for (int i = 1; i < argc; ++i) {
        const QString path = QString::fromLocal8Bit(argv[i]);
        QStringList files;
        if (QFileInfo(path).isDir()) {
            QDirIterator it(path, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
            while (it.hasNext())
                files << it.next();
        } else {
            files << path;
        }
        files.sort();
        for (const QString &file : files) {
            if (file.endsWith(QLatin1String(".gitkeep")) || file.endsWith(QLatin1String(".md")))
                continue;
            QFile f(file);
            if (!f.open(QIODevice::ReadOnly)) {
                std::fprintf(stderr, "cannot read %s\n", qPrintable(file));
                return 1;
            }
            const QByteArray data = f.readAll();
            std::fprintf(stderr, "%s\n", qPrintable(file));
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t *>(data.constData()),
                                   std::size_t(data.size()));
            ++count;
        }
    }
    std::printf("replayed %d inputs\n", count);
    return 0;
}
