#pragma once

#include <QByteArray>
#include <string>

#include "core/Sweep.h"

// A sweep as a table for spreadsheets: the columns of a sweep table
// (freq_hz,swr,r_ohm,x_ohm, written as that table writes them, so the file
// reads back as one), then each point's figures: return_loss_db, rho,
// z_ohm, phase_deg, q, series_l_h and series_c_f, in SI units. A figure the
// point does not define is an empty field.
namespace FigureTable {

std::string Header();

QByteArray Write(const Sweep& sweep);

}  // namespace FigureTable
