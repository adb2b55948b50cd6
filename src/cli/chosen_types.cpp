#include "cli/chosen_types.h"

#include "customise/accepted_types.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonParseError>

namespace quintabel::cli {

namespace {

QString entryName(const QString& table, const QString& field)
{
    return table + QLatin1Char('.') + field;
}

// The index of `wanted` in `names`: exactly, else the one case-blind match. Nothing when
// there is none, or more than one and none exact.
std::optional<qsizetype> findName(const QStringList& names, const QString& wanted)
{
    const qsizetype exact = names.indexOf(wanted);
    if (exact >= 0)
        return exact;
    std::optional<qsizetype> found;
    for (qsizetype index = 0; index < names.size(); ++index) {
        if (names[index].compare(wanted, Qt::CaseInsensitive) != 0)
            continue;
        if (found)
            return std::nullopt;
        found = index;
    }
    return found;
}

QString invalidTypeText()
{
    return QString::fromUtf8(customise::invalidTypeMessage.data(),
                             static_cast<qsizetype>(customise::invalidTypeMessage.size()));
}

} // namespace

std::variant<ChosenTypes, QString> ChosenTypes::read(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QStringLiteral("cannot read the types file '%1': %2").arg(path, file.errorString());
    return parse(file.readAll(), path);
}

std::variant<ChosenTypes, QString> ChosenTypes::parse(const QByteArray& json, const QString& origin)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(json, &error);
    if (error.error != QJsonParseError::NoError)
        return QStringLiteral("the types file '%1' is not valid JSON: %2 at byte %3")
            .arg(origin, error.errorString())
            .arg(error.offset);
    const QString shape = QStringLiteral(
        "the types file '%1' must hold an object of tables, each an object of field names and type texts");
    if (!document.isObject())
        return shape.arg(origin);
    ChosenTypes types;
    const QJsonObject tables = document.object();
    for (auto table = tables.begin(); table != tables.end(); ++table) {
        if (!table.value().isObject())
            return shape.arg(origin) + QStringLiteral(" (%1 is not an object)").arg(table.key());
        TableTypes chosen{table.key(), {}};
        const QJsonObject fields = table.value().toObject();
        for (auto field = fields.begin(); field != fields.end(); ++field) {
            if (!field.value().isString())
                return shape.arg(origin)
                    + QStringLiteral(" (%1 is not a text)").arg(entryName(table.key(), field.key()));
            chosen.fields.push_back({field.key(), field.value().toString()});
        }
        types.tables_.push_back(std::move(chosen));
    }
    return types;
}

const TableTypes* ChosenTypes::forTable(const QString& tableName) const
{
    QStringList names;
    for (const TableTypes& table : tables_)
        names << table.table;
    const std::optional<qsizetype> index = findName(names, tableName);
    return index ? &tables_[static_cast<std::size_t>(*index)] : nullptr;
}

QStringList invalidTypeEntries(const TableTypes& chosen)
{
    QStringList problems;
    for (const ChosenType& entry : chosen.fields) {
        if (!customise::IsValidDataType(entry.type.toStdString()))
            problems << entryName(chosen.table, entry.field) + QStringLiteral(": ")
                            + invalidTypeText();
    }
    return problems;
}

QStringList applyChosenTypes(const TableTypes& chosen, customise::CustomisationLists& lists)
{
    QStringList fieldNames;
    for (const std::string& name : lists.fieldNames())
        fieldNames << QString::fromStdString(name);
    QStringList problems;
    for (const ChosenType& entry : chosen.fields) {
        const std::optional<qsizetype> row = findName(fieldNames, entry.field);
        // The extra field of a failed load has no type to set: it counts as missing.
        if (!row || !lists.selectRow(static_cast<std::size_t>(*row))) {
            problems << entryName(chosen.table, entry.field)
                            + QStringLiteral(": the table %1 has no field of that name.").arg(chosen.table);
            continue;
        }
        if (lists.apply(entry.type.toStdString()) == customise::ApplyOutcome::InvalidType)
            problems << entryName(chosen.table, entry.field) + QStringLiteral(": ")
                            + invalidTypeText();
    }
    return problems;
}

} // namespace quintabel::cli
