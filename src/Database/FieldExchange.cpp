#include "Database/FieldExchange.h"

namespace {
const SqlValue nullValue;
}

const SqlValue& FieldExchange::next()
{
    std::size_t index = index_++;
    if (!row_ || index >= row_->size())
        return nullValue;
    return (*row_)[index];
}

long long FieldExchange::nextInteger()
{
    const SqlValue& value = next();
    if (const auto* integer = std::get_if<long long>(&value))
        return *integer;
    if (const auto* real = std::get_if<double>(&value))
        return static_cast<long long>(*real);
    return 0;
}

// A NULL in the database (a row another program wrote) reads as the
// column's empty value: "" or 0.
void FieldExchange::text(const char* column, std::string& member)
{
    switch (mode_) {
    case Mode::Describe: columns_.push_back({column, SqlType::Text}); break;
    case Mode::Store: values_.emplace_back(member); break;
    case Mode::Load: {
        const SqlValue& value = next();
        const auto* text = std::get_if<std::string>(&value);
        member = text ? *text : std::string();
        break;
    }
    }
}

void FieldExchange::integer(const char* column, long& member)
{
    switch (mode_) {
    case Mode::Describe: columns_.push_back({column, SqlType::Integer}); break;
    case Mode::Store: values_.emplace_back(static_cast<long long>(member)); break;
    case Mode::Load: member = static_cast<long>(nextInteger()); break;
    }
}

void FieldExchange::flag(const char* column, bool& member)
{
    switch (mode_) {
    case Mode::Describe: columns_.push_back({column, SqlType::Integer}); break;
    case Mode::Store: values_.emplace_back(member ? 1LL : 0LL); break;
    case Mode::Load: member = nextInteger() != 0; break;
    }
}

void FieldExchange::real(const char* column, double& member)
{
    switch (mode_) {
    case Mode::Describe: columns_.push_back({column, SqlType::Real}); break;
    case Mode::Store: values_.emplace_back(member); break;
    case Mode::Load: {
        const SqlValue& value = next();
        if (const auto* real = std::get_if<double>(&value))
            member = *real;
        else if (const auto* integer = std::get_if<long long>(&value))
            member = static_cast<double>(*integer);
        else
            member = 0.0;
        break;
    }
    }
}

void FieldExchange::byte(const char* column, unsigned char& member)
{
    switch (mode_) {
    case Mode::Describe: columns_.push_back({column, SqlType::Integer}); break;
    case Mode::Store: values_.emplace_back(static_cast<long long>(member)); break;
    case Mode::Load: member = static_cast<unsigned char>(nextInteger() & 0xFF); break;
    }
}
