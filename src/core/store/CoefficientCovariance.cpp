// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/store/CoefficientCovariance.h"

#include "core/base/AppError.h"
#include "core/base/NumberText.h"
#include "core/database/Connection.h"
#include "core/database/Recordset.h"

#include <QCoreApplication>
#include <cmath>

namespace CoefficientCovariance {

namespace {

bool tableExists(Connection &conn)
{
    return conn.Execute(QStringLiteral("select name from sqlite_master where type='table' and "
                                       "name='Covariance'"))
               .RecordCount() > 0;
}

QString number(double v) { return QString::number(v, 'g', 17); }

// Where each field's value sits in the matrix: σ of A, B, C, then the covariances.
constexpr int kSigmaAt[3] = {0, 3, 5};
constexpr int kCovarianceAt3[3] = {1, 2, 4}; // AB AC BC
constexpr int kCovarianceAt2[1] = {1};       // AB

// The matrix of fields already found numeric; an empty field is 0.
Matrix matrixOf(const QStringList &fields, int coefficients)
{
    const int sigmas = coefficients == 3 ? 3 : 2;
    Matrix m{};
    for (int i = 0; i < FieldCount(coefficients); ++i) {
        const double v = Num::TryDouble(fields.value(i).trimmed()).value_or(0);
        if (i < sigmas)
            m[size_t(kSigmaAt[i])] = v * v;
        else
            m[size_t(coefficients == 3 ? kCovarianceAt3[i - 3] : kCovarianceAt2[0])] = v;
    }
    return m;
}

} // namespace

QHash<int32_t, Matrix> ReadAll(Connection &conn, const QString &table)
{
    QHash<int32_t, Matrix> all;
    if (!tableExists(conn)) return all;
    Recordset rs = conn.Execute(QStringLiteral("select Row_N, AA, AB, AC, BB, BC, CC from Covariance where "
                                               "Table_S='") +
                                table + QLatin1Char('\''));
    for (; !rs.Eof(); rs.MoveNext()) {
        Matrix m{};
        for (int i = 0; i < 6; ++i)
            m[size_t(i)] = rs.Fields(i + 1).IsNull() ? 0.0 : rs.Fields(i + 1).Number();
        all.insert(rs.Fields(0).Long(), m);
    }
    return all;
}

std::optional<Matrix> Read(Connection &conn, const QString &table, int32_t id)
{
    if (!tableExists(conn)) return std::nullopt;
    Recordset rs =
        conn.Execute(QStringLiteral("select AA, AB, AC, BB, BC, CC from Covariance where Table_S='") + table +
                     QStringLiteral("' and Row_N=") + QString::number(id));
    if (rs.Eof()) return std::nullopt;
    Matrix m{};
    for (int i = 0; i < 6; ++i) m[size_t(i)] = rs.Fields(i).IsNull() ? 0.0 : rs.Fields(i).Number();
    return m;
}

void Write(Connection &conn, const QString &table, int32_t id, const std::optional<Matrix> &matrix)
{
    if (!matrix && !tableExists(conn)) return;
    conn.Execute(QStringLiteral("delete from Covariance where Table_S='") + table +
                 QStringLiteral("' and Row_N=") + QString::number(id));
    if (!matrix) return;
    QString sql = QStringLiteral("insert into Covariance (Table_S,Row_N,AA,AB,AC,BB,BC,CC) values ('") +
                  table + QStringLiteral("',") + QString::number(id);
    for (double v : *matrix) sql += QLatin1Char(',') + number(v);
    conn.Execute(sql + QLatin1Char(')'));
}

bool IsCovariance(const Matrix &k)
{
    for (double v : k)
        if (!std::isfinite(v)) return false;
    if (k[0] < 0 || k[3] < 0 || k[5] < 0) return false;
    // Every principal minor ≥ 0, to rounding.
    const double tolerance = 1e-9;
    auto minor2 = [&](double ii, double jj, double ij) { return ii * jj - ij * ij >= -tolerance * ii * jj; };
    if (!minor2(k[0], k[3], k[1]) || !minor2(k[0], k[5], k[2]) || !minor2(k[3], k[5], k[4])) return false;
    const double det = k[0] * (k[3] * k[5] - k[4] * k[4]) - k[1] * (k[1] * k[5] - k[4] * k[2]) +
                       k[2] * (k[1] * k[4] - k[3] * k[2]);
    return det >= -tolerance * k[0] * k[3] * k[5];
}

QStringList Headers(int coefficients)
{
    if (coefficients == 3)
        return {QStringLiteral("σA"),       QStringLiteral("σB"),       QStringLiteral("σC"),
                QStringLiteral("cov(A,B)"), QStringLiteral("cov(A,C)"), QStringLiteral("cov(B,C)")};
    return {QStringLiteral("σA"), QStringLiteral("σB"), QStringLiteral("cov(A,B)")};
}

QStringList Texts(const std::optional<Matrix> &m, int coefficients)
{
    QStringList texts;
    const int sigmas = coefficients == 3 ? 3 : 2;
    if (!m) {
        for (int i = 0; i < FieldCount(coefficients); ++i) texts << QString();
        return texts;
    }
    for (int i = 0; i < sigmas; ++i)
        texts << Num::StrDouble(std::sqrt(std::max(0.0, (*m)[size_t(kSigmaAt[i])])));
    if (coefficients == 3)
        for (int at : kCovarianceAt3) texts << Num::StrDouble((*m)[size_t(at)]);
    else
        texts << Num::StrDouble((*m)[size_t(kCovarianceAt2[0])]);
    return texts;
}

Check Examine(const QStringList &fields, int coefficients)
{
    const int count = FieldCount(coefficients), sigmas = coefficients == 3 ? 3 : 2;
    for (int i = 0; i < count; ++i) {
        const QString f = fields.value(i).trimmed();
        if (f.isEmpty()) continue;
        const std::optional<double> v = Num::TryDouble(f);
        if (!v || !std::isfinite(*v)) return {Problem::NotANumber, i};
        if (i < sigmas && *v < 0) return {Problem::Negative, i};
    }
    // The σ to point at: the first of a pair whose covariance it cannot carry.
    const Matrix m = matrixOf(fields, coefficients);
    if (!IsCovariance(m)) {
        const struct {
            int first, ii, jj, ij;
        } pairs[] = {{0, 0, 3, 1}, {0, 0, 5, 2}, {1, 3, 5, 4}};
        for (const auto &p : pairs)
            if (m[size_t(p.ij)] * m[size_t(p.ij)] > m[size_t(p.ii)] * m[size_t(p.jj)])
                return {Problem::NotACovariance, p.first};
        return {Problem::NotACovariance, 0};
    }
    return {};
}

QString Message(Problem problem)
{
    switch (problem) {
    case Problem::None: return QString();
    case Problem::NotANumber: break;
    case Problem::Negative: return QCoreApplication::translate("CoefficientCovariance", "σ不能为负");
    case Problem::NotACovariance:
        return QCoreApplication::translate("CoefficientCovariance", "协方差与σ不相容");
    }
    return QCoreApplication::translate("CoefficientCovariance", "σ与协方差必须为数字");
}

std::optional<Matrix> FromTexts(const QStringList &fields, int coefficients)
{
    const int count = FieldCount(coefficients);
    bool any = false;
    for (int i = 0; i < count; ++i) any = any || !fields.value(i).trimmed().isEmpty();
    if (!any || Examine(fields, coefficients).problem != Problem::None) return std::nullopt;
    return matrixOf(fields, coefficients);
}

} // namespace CoefficientCovariance
