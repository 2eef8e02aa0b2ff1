#pragma once
// The install table mtInstall: the records of the install list in list order, with two
// lookup orders (by Category, by NodePath) that ignore case and allow equal keys. A store
// that fails leaves the table as it was.
#include "InstallRecord.h"

#include <QList>
#include <QString>
#include <stdexcept>

namespace zvo {

class EInstallTableError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TInstallTable {
public:
    enum class TOrder { Category, NodePath };

    int RecordCount() const { return int(FRecords.size()); }
    const TInstallRecord &Record(int row) const { return FRecords.at(row); } // list order
    const QList<TInstallRecord> &Records() const { return FRecords; }

    // Stores a copy at the end; raises EInstallTableError (storing nothing) when a text is
    // longer than its field.
    void Append(const TInstallRecord &record);
    void SetInstall(int row, bool value);
    // Raises EInstallTableError, leaving the old value, when the path is too long.
    void SetDestPath(int row, const QString &value);
    void EmptyDataSet() { FRecords.clear(); }

    // The order lookups and Rows() follow; NodePath unless changed.
    void SetOrder(TOrder order) { FOrder = order; }
    TOrder Order() const { return FOrder; }

    // Row numbers sorted by the order's key without regard to case; equal keys keep list order.
    QList<int> Rows() const;
    // The first row in the order whose key equals `key` (ignoring case), or -1.
    int FindKey(const QString &key) const;
    // Every row whose key equals `key`, in the order (a range on one key).
    QList<int> Range(const QString &key) const;

private:
    const QString &KeyOf(int row) const;

    QList<TInstallRecord> FRecords;
    TOrder FOrder = TOrder::NodePath;
};

} // namespace zvo
