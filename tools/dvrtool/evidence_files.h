#pragma once
// The evidence files that extract and export write beside their output.
#include <string>

#include "export/evidence.h"

namespace dvrtool {

// Writes OUTPUT.sha256 and OUTPUT.json and prints a line naming them (a JSON line with `json`);
// when they cannot be written, fails with a clear line that says the output itself is kept.
void WriteEvidenceFiles(const std::string& output, const dvr::exporting::EvidenceFacts& facts,
                        bool json = false);

}  // namespace dvrtool
