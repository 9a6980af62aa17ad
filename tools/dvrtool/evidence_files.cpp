#include "evidence_files.h"

#include "cli.h"

namespace dvrtool {

void WriteEvidenceFiles(const std::string& output, const dvr::exporting::EvidenceFacts& facts,
                        bool json) {
  std::string error;
  if (!dvr::exporting::WriteEvidence(output, facts, error)) {
    Fail("no evidence written (" + error + "); " + output + " itself is kept");
  }
  const std::string checksum = output + ".sha256", description = output + ".json";
  PrintLine(json ? JsonLine()
                       .Add("type", "evidence")
                       .Add("sha256_file", checksum)
                       .Add("json_file", description)
                       .Text()
                 : "evidence: " + checksum + ", " + description);
}

}  // namespace dvrtool
