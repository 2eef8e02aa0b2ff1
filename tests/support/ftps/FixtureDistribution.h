#pragma once
// Writes a download server's content into a host folder that FtpsTestServer then serves:
// the install list in "/ZVODL/", ZIP packages in their server folders, plain and large files
// (catalogs: "/STARCATS/RIZOV3", "/STARCATS/APASS", "/STARCATS/CMC15", "/STARCATS/ZVOATLAS2/",
// "/STARCATS/UCAC4/"; the disk image in "/ZVODL/V10ISO/").
//
// Server paths use "/" and may carry leading and trailing slashes ("/ZVODL/Sarvel/"). Every
// writer creates the folders it needs and throws std::runtime_error when it cannot write.
#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>

// One entry of a ZIP package. The name is stored exactly as given, so hostile names
// ("../x", "/abs", "C:/x", "a\\..\\x") can be written too; a name ending in "/" is a folder
// entry. With fillSize >= 0 the content is fillSize bytes of
// FixtureDistribution::filler(name, 0, fillSize), streamed into the archive.
struct FixtureEntry {
    QString name;
    QByteArray content;
    qint64 fillSize = -1;

    static FixtureEntry filled(const QString &name, qint64 size) { return {name, {}, size}; }
};

struct FixturePackage {
    QString zipName;    // "Docs.zip"
    QString serverPath; // "/ZVODL/Docs/"
    QList<FixtureEntry> entries;
};

class FixtureDistribution {
public:
    explicit FixtureDistribution(QString rootHostPath);

    QString root() const { return m_root; }

    // One install list section; keys and values are written verbatim, in this order, so a
    // test can write malformed values as well. Sections keep the order they were added in.
    void addSection(const QString &name, const QList<QPair<QString, QString>> &keys);
    // "/ZVODL/InstallList.ini" from the sections: Windows-1252 text, CR LF line ends.
    // Returns the host path.
    QString writeInstallList();
    // "/ZVODL/InstallList.ini" with exactly these bytes.
    QString writeRawInstallList(const QByteArray &bytes);

    // The following return the host path of what they wrote.
    QString addPackage(const FixturePackage &package);
    QString addFile(const QString &serverPath, const QString &name, const QByteArray &content);
    // `size` bytes of filler(name, ...), written in chunks: memory stays small for any size.
    QString addLargeFile(const QString &serverPath, const QString &name, qint64 size);
    // An empty server folder (or one that stays as it is, if it exists).
    QString addFolder(const QString &serverPath);

    // Host path of a server folder, or of a file in it when name is given.
    QString hostPathOf(const QString &serverPath, const QString &name = QString()) const;

    // Deterministic pseudo-random bytes keyed by a text: the bytes at [offset, offset+length)
    // of the stream for `key`. Any range can be recomputed on its own, so a test can check a
    // download or an extracted entry against it.
    static QByteArray filler(const QString &key, qint64 offset, qint64 length);
    // Windows-1252 bytes of a text; characters the code page lacks become '?'.
    static QByteArray toWindows1252(const QString &text);

private:
    QString m_root;
    QList<QPair<QString, QList<QPair<QString, QString>>>> m_sections;
};
