// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ExportArguments.h"

#include <ostream>

// Runs what the arguments ask; reports each file written on out and each failure, naming the
// file, on err. Returns the process exit status: 0, or 1 when anything failed.
int RunExport(const TExportArguments& arguments, std::ostream& out, std::ostream& err);
