#pragma once

#include <cstddef>
#include <optional>
#include <vector>

// The measurement array: rows 0..maxIndex of four quantities (0 SWR,
// 1 resistance in ohms, 2 reactance in ohms, 3 unused). It is sized once and
// never resized; an element nothing has written is empty and reads as 0.
class ScanData {
public:
    static constexpr int Columns = 4;

    ScanData() = default;
    explicit ScanData(int maxIndex) : rows_(maxIndex + 1), cells_(std::size_t(rows_) * Columns) {}

    int Rows() const { return rows_; }
    double operator()(int row, int column) const {
        return cells_[index(row, column)].value_or(0.0);
    }
    bool IsEmpty(int row, int column) const { return !cells_[index(row, column)].has_value(); }
    void Set(int row, int column, double value) { cells_[index(row, column)] = value; }

private:
    std::size_t index(int row, int column) const { return std::size_t(row) * Columns + std::size_t(column); }

    int rows_ = 0;
    std::vector<std::optional<double>> cells_;
};
