#include "lab/lab_vars.h"

#include <QJsonArray>

#include <algorithm>
#include <type_traits>

namespace vlab {

LabVars::LabVars(std::initializer_list<Entry> entries) : entries_(entries) {
    start_.reserve(entries_.size());
    for (const Entry& e : entries_) {
        start_.push_back(std::visit(
            [](auto ref) -> Value {
                using R = decltype(ref);
                if constexpr (std::is_pointer_v<R>)
                    return *ref;
                else
                    return std::vector<typename R::value_type>(ref.begin(), ref.end());
            },
            e.ref));
    }
}

void LabVars::Describe(QJsonObject& out) const {
    for (const Entry& e : entries_) {
        const QJsonValue value = std::visit(
            [](auto ref) -> QJsonValue {
                using R = decltype(ref);
                if constexpr (std::is_same_v<R, QString*>)
                    return *ref;
                else if constexpr (std::is_same_v<R, std::uint8_t*>)
                    return static_cast<int>(*ref);
                else if constexpr (std::is_pointer_v<R>)
                    return *ref;
                else {
                    QJsonArray a;
                    for (auto v : ref) a.append(static_cast<double>(v));
                    return a;
                }
            },
            e.ref);
        out.insert(QLatin1String(e.name), value);
    }
}

void LabVars::Restore() const {
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        std::visit(
            [this, i](auto ref) {
                using R = decltype(ref);
                if constexpr (std::is_pointer_v<R>) {
                    *ref = std::get<std::remove_pointer_t<R>>(start_[i]);
                } else {
                    const auto& values = std::get<std::vector<typename R::value_type>>(start_[i]);
                    std::copy(values.begin(), values.end(), ref.begin());
                }
            },
            entries_[i].ref);
    }
}

}  // namespace vlab
