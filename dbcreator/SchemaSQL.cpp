#include "SchemaSQL.h"

#include "SQLiteError.h"

namespace zvo {

namespace {

struct TToken {
    qsizetype Start = 0;
    qsizetype End = 0;
    QString Text;

    bool Is(const char *word) const { return Text.compare(word, Qt::CaseInsensitive) == 0; }
    bool AtEnd() const { return Text.isEmpty(); }
};

// Splits SQL into words, quoted identifiers or strings, and single characters, skipping
// blanks and comments.
class TSQLScanner {
public:
    explicit TSQLScanner(const QString &sql) : FSql(sql) {}

    TToken Next()
    {
        SkipBlanksAndComments();
        TToken t;
        t.Start = FPos;
        if (FPos < FSql.size())
            ScanToken();
        t.End = FPos;
        t.Text = FSql.mid(t.Start, t.End - t.Start);
        return t;
    }

    TToken Peek()
    {
        const qsizetype pos = FPos;
        const TToken t = Next();
        FPos = pos;
        return t;
    }

private:
    static bool IsWordChar(QChar c)
    {
        return c.isLetterOrNumber() || c == '_' || c == '$' || c.unicode() >= 0x80;
    }

    void SkipBlanksAndComments()
    {
        for (;;) {
            while (FPos < FSql.size() && FSql.at(FPos).isSpace())
                ++FPos;
            if (FSql.mid(FPos, 2) == "--") {
                const qsizetype eol = FSql.indexOf('\n', FPos);
                FPos = eol < 0 ? FSql.size() : eol + 1;
            } else if (FSql.mid(FPos, 2) == "/*") {
                const qsizetype end = FSql.indexOf("*/", FPos + 2);
                FPos = end < 0 ? FSql.size() : end + 2;
            } else {
                return;
            }
        }
    }

    void ScanToken()
    {
        const QChar c = FSql.at(FPos);
        if (c == '"' || c == '\'' || c == '`' || c == '[')
            ScanQuoted(c == '[' ? QChar(']') : c);
        else if (IsWordChar(c))
            while (FPos < FSql.size() && IsWordChar(FSql.at(FPos)))
                ++FPos;
        else
            ++FPos;
    }

    // A doubled closing quote stands for itself; "]" cannot be doubled.
    void ScanQuoted(QChar close)
    {
        ++FPos;
        while (FPos < FSql.size()) {
            if (FSql.at(FPos++) != close)
                continue;
            if (close == ']' || FPos >= FSql.size() || FSql.at(FPos) != close)
                return;
            ++FPos;
        }
    }

    const QString &FSql;
    qsizetype FPos = 0;
};

[[noreturn]] void unexpected(const QString &sql)
{
    throw ESQLiteError("Cannot copy the table structure, unexpected statement: " + sql);
}

bool isName(const TToken &t)
{
    if (t.AtEnd())
        return false;
    const QChar c = t.Text.at(0);
    return c == '"' || c == '`' || c == '[' || c == '\'' || c == '_' || c.isLetterOrNumber()
           || c.unicode() >= 0x80;
}

// The first token after an optional "IF NOT EXISTS".
TToken skipIfNotExists(TSQLScanner &s)
{
    TToken t = s.Next();
    if (t.Is("IF")) {
        s.Next(); // NOT
        s.Next(); // EXISTS
        t = s.Next();
    }
    return t;
}

// The span of a name, taking a "schema." in front of it along.
TToken qualifiedName(TSQLScanner &s, TToken first, const QString &sql)
{
    if (!isName(first))
        unexpected(sql);
    if (s.Peek().Text == ".") {
        s.Next();
        const TToken name = s.Next();
        if (!isName(name))
            unexpected(sql);
        first.End = name.End;
    }
    return first;
}

QString replaced(const QString &sql, const TToken &span, const QString &with)
{
    return sql.left(span.Start) + with + sql.mid(span.End);
}

} // namespace

QString QuoteIdentifier(const QString &name)
{
    return '"' + QString(name).replace('"', "\"\"") + '"';
}

TTableName TTableName::Parse(const QString &text)
{
    const qsizetype dot = text.indexOf('.');
    if (dot < 0)
        return {QString(), text};
    return {text.left(dot), text.mid(dot + 1)};
}

QString TTableName::Quoted() const
{
    return QuotedInSchema(Name);
}

QString TTableName::QuotedInSchema(const QString &name) const
{
    return Schema.isEmpty() ? QuoteIdentifier(name)
                            : QuoteIdentifier(Schema) + '.' + QuoteIdentifier(name);
}

QString RenameCreateTable(const QString &sql, const QString &quotedName)
{
    TSQLScanner s(sql);
    if (!s.Next().Is("CREATE"))
        unexpected(sql);
    TToken t = s.Next();
    while (t.Is("TEMP") || t.Is("TEMPORARY") || t.Is("VIRTUAL"))
        t = s.Next();
    if (!t.Is("TABLE"))
        unexpected(sql);
    const TToken name = qualifiedName(s, skipIfNotExists(s), sql);
    return replaced(sql, name, quotedName);
}

QString RenameCreateIndex(const QString &sql, const QString &quotedIndexName,
                          const QString &quotedTableName)
{
    TSQLScanner s(sql);
    if (!s.Next().Is("CREATE"))
        unexpected(sql);
    TToken t = s.Next();
    if (t.Is("UNIQUE"))
        t = s.Next();
    if (!t.Is("INDEX"))
        unexpected(sql);
    const TToken index = qualifiedName(s, skipIfNotExists(s), sql);
    if (!s.Next().Is("ON"))
        unexpected(sql);
    const TToken table = qualifiedName(s, s.Next(), sql);
    // Replace the later name first, so the earlier span stays where it was.
    return replaced(replaced(sql, table, quotedTableName), index, quotedIndexName);
}

} // namespace zvo
