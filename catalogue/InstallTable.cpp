#include "InstallTable.h"

#include <algorithm>
#include <numeric>

namespace zvo {

namespace {

void checkWidth(const char *field, const QString &value, int width)
{
    if (value.size() > width)
        throw EInstallTableError(QStringLiteral("%1 is longer than %2 characters: %3")
                                     .arg(QString::fromLatin1(field)).arg(width)
                                     .arg(value.left(width) + QStringLiteral("..."))
                                     .toStdString());
}

} // namespace

void TInstallTable::Append(const TInstallRecord &record)
{
    checkWidth("Category", record.Category, TInstallRecord::CategoryWidth);
    checkWidth("NodePath", record.NodePath, TInstallRecord::NodePathWidth);
    checkWidth("ZipName", record.ZipName, TInstallRecord::ZipNameWidth);
    checkWidth("ServerPath", record.ServerPath, TInstallRecord::ServerPathWidth);
    checkWidth("DestPath", record.DestPath, TInstallRecord::DestPathWidth);
    FRecords.append(record);
}

void TInstallTable::SetInstall(int row, bool value)
{
    FRecords[row].Install = value;
}

void TInstallTable::SetDestPath(int row, const QString &value)
{
    checkWidth("DestPath", value, TInstallRecord::DestPathWidth);
    FRecords[row].DestPath = value;
}

const QString &TInstallTable::KeyOf(int row) const
{
    const TInstallRecord &r = FRecords.at(row);
    return FOrder == TOrder::Category ? r.Category : r.NodePath;
}

QList<int> TInstallTable::Rows() const
{
    QList<int> rows(FRecords.size());
    std::iota(rows.begin(), rows.end(), 0);
    std::stable_sort(rows.begin(), rows.end(), [this](int a, int b) {
        return KeyOf(a).compare(KeyOf(b), Qt::CaseInsensitive) < 0;
    });
    return rows;
}

int TInstallTable::FindKey(const QString &key) const
{
    const QList<int> rows = Range(key);
    return rows.isEmpty() ? -1 : rows.first();
}

QList<int> TInstallTable::Range(const QString &key) const
{
    // Equal keys sit in list order within the sorted order, so list order is their order.
    QList<int> rows;
    for (int row = 0; row < FRecords.size(); ++row)
        if (KeyOf(row).compare(key, Qt::CaseInsensitive) == 0)
            rows.append(row);
    return rows;
}

} // namespace zvo
