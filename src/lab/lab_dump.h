#pragma once
// Small helpers that write module-level variables into a state dump (numbers as numbers, arrays as
// arrays, texts as strings).

#include <QJsonArray>
#include <QJsonObject>
#include <QString>

#include <array>
#include <cstddef>

namespace vlab {

inline void Put(QJsonObject& out, const char* name, double v) { out.insert(QLatin1String(name), v); }
inline void Put(QJsonObject& out, const char* name, int v) { out.insert(QLatin1String(name), v); }
inline void Put(QJsonObject& out, const char* name, bool v) { out.insert(QLatin1String(name), v); }
inline void Put(QJsonObject& out, const char* name, const QString& v) { out.insert(QLatin1String(name), v); }
template <typename T, std::size_t N>
void Put(QJsonObject& out, const char* name, const std::array<T, N>& values) {
    QJsonArray a;
    for (const T& v : values) a.append(static_cast<double>(v));
    out.insert(QLatin1String(name), a);
}
template <typename T>
void PutArray(QJsonObject& out, const char* name, const T* values, std::size_t n) {
    QJsonArray a;
    for (std::size_t i = 0; i < n; ++i) a.append(static_cast<double>(values[i]));
    out.insert(QLatin1String(name), a);
}

}  // namespace vlab
