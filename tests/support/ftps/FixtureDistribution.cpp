#include "FixtureDistribution.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <zip.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <vector>

namespace {

[[noreturn]] void fail(const QString &message)
{
    throw std::runtime_error(("FixtureDistribution: " + message).toStdString());
}

quint64 fnv1a(const QByteArray &bytes)
{
    quint64 h = 14695981039346656037ULL;
    for (char c : bytes) {
        h ^= quint8(c);
        h *= 1099511628211ULL;
    }
    return h;
}

quint64 splitmix64(quint64 x)
{
    x += 0x9E3779B97F4A7C15ULL;
    x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
    x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
    return x ^ (x >> 31);
}

// Byte i of a stream is byte (i % 8) of splitmix64(seed + i / 8): random access, no state.
void fillInto(quint64 seed, qint64 offset, char *out, qint64 length)
{
    qint64 done = 0;
    while (done < length) {
        const qint64 pos = offset + done;
        const quint64 block = splitmix64(seed + quint64(pos / 8));
        const int skip = int(pos % 8);
        const qint64 n = std::min<qint64>(8 - skip, length - done);
        for (qint64 k = 0; k < n; ++k)
            out[done + k] = char(quint8(block >> (8 * (skip + k))));
        done += n;
    }
}

quint64 seedOf(const QString &key)
{
    return fnv1a(key.toUtf8());
}

// libzip reads sources only at zip_close(); this one produces filler bytes as it is read.
struct FillSource {
    quint64 seed;
    qint64 size;
    qint64 pos = 0;
};

zip_int64_t fillCallback(void *userdata, void *data, zip_uint64_t len, zip_source_cmd_t cmd)
{
    auto *src = static_cast<FillSource *>(userdata);
    switch (cmd) {
    case ZIP_SOURCE_OPEN:
        src->pos = 0;
        return 0;
    case ZIP_SOURCE_READ: {
        const qint64 n = std::min<qint64>(qint64(len), src->size - src->pos);
        fillInto(src->seed, src->pos, static_cast<char *>(data), n);
        src->pos += n;
        return n;
    }
    case ZIP_SOURCE_CLOSE:
    case ZIP_SOURCE_FREE:
        return 0;
    case ZIP_SOURCE_STAT: {
        auto *st = static_cast<zip_stat_t *>(data);
        zip_stat_init(st);
        st->size = zip_uint64_t(src->size);
        st->valid |= ZIP_STAT_SIZE;
        return sizeof(zip_stat_t);
    }
    case ZIP_SOURCE_ERROR: {
        auto *codes = static_cast<int *>(data);
        codes[0] = codes[1] = 0;
        return 2 * sizeof(int);
    }
    case ZIP_SOURCE_SUPPORTS:
        return zip_source_make_command_bitmap(ZIP_SOURCE_OPEN, ZIP_SOURCE_READ, ZIP_SOURCE_CLOSE,
                                              ZIP_SOURCE_STAT, ZIP_SOURCE_ERROR, ZIP_SOURCE_FREE,
                                              -1);
    default:
        return -1;
    }
}

QString normalizedServerPath(const QString &serverPath)
{
    QStringList parts;
    for (const QString &part : serverPath.split('/', Qt::SkipEmptyParts)) {
        if (part == QLatin1String("..") || part == QLatin1String("."))
            fail(QStringLiteral("server path must stay inside the root: %1").arg(serverPath));
        parts << part;
    }
    return parts.join('/');
}

void writeWhole(const QString &path, const QByteArray &bytes)
{
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit())
        fail(QStringLiteral("cannot write %1: %2").arg(path, f.errorString()));
}

} // namespace

FixtureDistribution::FixtureDistribution(QString rootHostPath) : m_root(std::move(rootHostPath))
{
    if (!QDir().mkpath(m_root))
        fail(QStringLiteral("cannot create root folder %1").arg(m_root));
}

QString FixtureDistribution::hostPathOf(const QString &serverPath, const QString &name) const
{
    QString path = m_root;
    const QString relative = normalizedServerPath(serverPath);
    if (!relative.isEmpty())
        path += '/' + relative;
    if (!name.isEmpty())
        path += '/' + name;
    return path;
}

QString FixtureDistribution::addFolder(const QString &serverPath)
{
    const QString path = hostPathOf(serverPath);
    if (!QDir().mkpath(path))
        fail(QStringLiteral("cannot create folder %1").arg(path));
    return path;
}

void FixtureDistribution::addSection(const QString &name,
                                     const QList<QPair<QString, QString>> &keys)
{
    m_sections.append({name, keys});
}

QString FixtureDistribution::writeInstallList()
{
    QString text;
    for (const auto &section : m_sections) {
        text += '[' + section.first + QStringLiteral("]\r\n");
        for (const auto &kv : section.second)
            text += kv.first + '=' + kv.second + QStringLiteral("\r\n");
        text += QStringLiteral("\r\n");
    }
    return writeRawInstallList(toWindows1252(text));
}

QString FixtureDistribution::writeRawInstallList(const QByteArray &bytes)
{
    return addFile(QStringLiteral("/ZVODL/"), QStringLiteral("InstallList.ini"), bytes);
}

QString FixtureDistribution::addFile(const QString &serverPath, const QString &name,
                                     const QByteArray &content)
{
    addFolder(serverPath);
    const QString path = hostPathOf(serverPath, name);
    writeWhole(path, content);
    return path;
}

QString FixtureDistribution::addLargeFile(const QString &serverPath, const QString &name,
                                          qint64 size)
{
    addFolder(serverPath);
    const QString path = hostPathOf(serverPath, name);
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly))
        fail(QStringLiteral("cannot write %1: %2").arg(path, f.errorString()));
    constexpr qint64 kChunk = 1 << 20;
    QByteArray buffer(qsizetype(std::min(kChunk, std::max<qint64>(size, 1))), Qt::Uninitialized);
    const quint64 seed = seedOf(name);
    for (qint64 pos = 0; pos < size; pos += kChunk) {
        const qint64 n = std::min(kChunk, size - pos);
        fillInto(seed, pos, buffer.data(), n);
        if (f.write(buffer.constData(), n) != n)
            fail(QStringLiteral("cannot write %1: %2").arg(path, f.errorString()));
    }
    if (!f.commit())
        fail(QStringLiteral("cannot write %1: %2").arg(path, f.errorString()));
    return path;
}

QString FixtureDistribution::addPackage(const FixturePackage &package)
{
    addFolder(package.serverPath);
    const QString path = hostPathOf(package.serverPath, package.zipName);
    QFile::remove(path);

    int error = 0;
    zip_t *za = zip_open(QFile::encodeName(path).constData(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!za) {
        zip_error_t ze;
        zip_error_init_with_code(&ze, error);
        const QString why = QString::fromUtf8(zip_error_strerror(&ze));
        zip_error_fini(&ze);
        fail(QStringLiteral("cannot create %1: %2").arg(path, why));
    }
    auto abandon = [&](const QString &what) {
        const QString why = QString::fromUtf8(zip_strerror(za));
        zip_discard(za);
        QFile::remove(path);
        fail(QStringLiteral("%1 in %2: %3").arg(what, path, why));
    };

    // Buffers and fill states must outlive zip_close(), which does the actual reading.
    std::vector<std::unique_ptr<FillSource>> fills;
    for (const FixtureEntry &entry : package.entries) {
        const QByteArray name = entry.name.toUtf8();
        if (entry.name.endsWith('/')) {
            if (zip_dir_add(za, name.constData(), ZIP_FL_ENC_GUESS) < 0)
                abandon(QStringLiteral("cannot add folder entry %1").arg(entry.name));
            continue;
        }
        zip_source_t *src = nullptr;
        if (entry.fillSize >= 0) {
            fills.push_back(std::make_unique<FillSource>(
                FillSource{seedOf(entry.name), entry.fillSize}));
            src = zip_source_function(za, fillCallback, fills.back().get());
        } else {
            src = zip_source_buffer(za, entry.content.constData(),
                                    zip_uint64_t(entry.content.size()), 0);
        }
        if (!src)
            abandon(QStringLiteral("cannot make a source for %1").arg(entry.name));
        const zip_int64_t index =
            zip_file_add(za, name.constData(), src, ZIP_FL_ENC_GUESS | ZIP_FL_OVERWRITE);
        if (index < 0) {
            zip_source_free(src);
            abandon(QStringLiteral("cannot add entry %1").arg(entry.name));
        }
        // Filler does not compress; the fastest level keeps big fixtures cheap.
        if (entry.fillSize >= 0)
            zip_set_file_compression(za, zip_uint64_t(index), ZIP_CM_DEFLATE, 1);
    }
    if (zip_close(za) != 0)
        abandon(QStringLiteral("cannot write"));
    return path;
}

QByteArray FixtureDistribution::filler(const QString &key, qint64 offset, qint64 length)
{
    QByteArray out(qsizetype(std::max<qint64>(length, 0)), Qt::Uninitialized);
    fillInto(seedOf(key), offset, out.data(), out.size());
    return out;
}

QByteArray FixtureDistribution::toWindows1252(const QString &text)
{
    // 0x80..0x9F, the part where Windows-1252 differs from Latin-1; 0 marks a gap.
    static const char16_t high[32] = {
        0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
        0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
        0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
        0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
    QByteArray out;
    out.reserve(text.size());
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
            out += char(u);
            continue;
        }
        const char16_t *hit = std::find(std::begin(high), std::end(high), u);
        out += (u != 0 && hit != std::end(high)) ? char(0x80 + (hit - std::begin(high))) : '?';
    }
    return out;
}
