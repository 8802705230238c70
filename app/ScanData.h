#pragma once

#include <cstddef>
#include <optional>
#include <vector>

// The measurement array: rows 0..maxIndex of four quantities (0 SWR,
// 1 resistance in ohms, 2 reactance in ohms, 3 unused). It is sized once and
// never resized; an element nothing has written is empty and reads as 0.
class ScanData {
public:
    static constexpr int kColumns = 4;

    ScanData() = default;
    explicit ScanData(int maxIndex)
        : m_rows(maxIndex + 1), m_cells(std::size_t(m_rows) * kColumns) {}

    int Rows() const { return m_rows; }
    double operator()(int row, int column) const {
        return m_cells[index(row, column)].value_or(0.0);
    }
    bool IsEmpty(int row, int column) const { return !m_cells[index(row, column)].has_value(); }
    void Set(int row, int column, double value) { m_cells[index(row, column)] = value; }

private:
    std::size_t index(int row, int column) const {
        return std::size_t(row) * kColumns + std::size_t(column);
    }

    int m_rows = 0;
    std::vector<std::optional<double>> m_cells;
};
