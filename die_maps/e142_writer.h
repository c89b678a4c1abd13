// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <ostream>

#include "die_maps/map_grid.h"
#include "die_maps/map_header.h"

namespace kerf {

/// The map of `grid` as E142-style XML (UTF-8, values escaped):
/// - MapData holds Layouts, Substrates and SubstrateMaps;
/// - Layout "WaferLayout" (DefaultUnits mil): Dimension X columns, Y rows;
///   StepSize X, Y in mil; DieCount; ProductId the device;
/// - Substrate (SubstrateType Wafer, SubstrateId the wafer id): LotId;
/// - SubstrateMap of that substrate with LayoutSpecifier "WaferLayout",
///   Orientation the flat location, OriginLocation UpperLeft and
///   AxisDirection DownRight (rows grow down, columns to the right), its
///   ReferenceDevice (the reference cell's X column and Y row), and an
///   Overlay "BinCodeMap" holding the BinCodeMap (BinType HexaDecimal,
///   NullBin "__"): BinDefinitions with the one BinDefinition of code 01
///   (Pick true, a die), then one BinCode element per row from the top, its
///   codes side by side.
void writeE142(std::ostream& out, const MapGrid& grid, const MapHeader& header);

} // namespace kerf
