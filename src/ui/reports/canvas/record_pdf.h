#pragma once

// The printed record as a PDF document: A4 portrait, the page edge as the printable page, the
// print job's title as the document's title. A Qt Gui application object must exist.

#include <string>

#include "core/image/vyn_data.h"
#include "core/reports/record/vyn_print.h"

namespace vyn::ui {

// The bytes of the document; the copies `print` asks for follow each other in it.
std::string RecordPdf(VynPrint& print, const VynData& data);

}  // namespace vyn::ui
