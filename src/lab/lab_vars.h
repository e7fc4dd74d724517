#pragma once
// A module's list of its module-level variables, by their given names: writes them into the state
// dump and puts them back to their program-start values, so that each variable is named once.

#include <QJsonObject>
#include <QString>

#include <array>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <variant>
#include <vector>

namespace vlab {

class LabVars {
public:
    using Ref =
        std::variant<int*, double*, std::uint8_t*, bool*, QString*, std::span<int>, std::span<double>>;

    struct Entry {
        Entry(const char* n, int& v) : name(n), ref(&v) {}
        Entry(const char* n, double& v) : name(n), ref(&v) {}
        Entry(const char* n, std::uint8_t& v) : name(n), ref(&v) {}
        Entry(const char* n, bool& v) : name(n), ref(&v) {}
        Entry(const char* n, QString& v) : name(n), ref(&v) {}
        template <std::size_t N>
        Entry(const char* n, std::array<int, N>& v) : name(n), ref(std::span<int>(v)) {}
        template <std::size_t N>
        Entry(const char* n, std::array<double, N>& v) : name(n), ref(std::span<double>(v)) {}

        const char* name;
        Ref ref;
    };

    // Defined after the variables it lists, in the same file: the values they hold then are their
    // program-start values.
    LabVars(std::initializer_list<Entry> entries);

    // Numbers as numbers (byte flags too), flags as booleans, arrays as arrays, texts as strings.
    void Describe(QJsonObject& out) const;
    // Every listed variable back to its program-start value.
    void Restore() const;

private:
    using Value =
        std::variant<int, double, std::uint8_t, bool, QString, std::vector<int>, std::vector<double>>;
    std::vector<Entry> entries_;
    std::vector<Value> start_;
};

}  // namespace vlab
