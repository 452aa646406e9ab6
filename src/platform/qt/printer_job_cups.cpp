// The print job through the CUPS API, so that a refusal is seen instead of lost.
#include "platform/qt/printer_job_cups.h"

#include <cstring>
#include <memory>

#include <cups/cups.h>

namespace lab {
namespace {

struct DestFree {
  void operator()(cups_dest_t* dest) const { cupsFreeDests(1, dest); }
};
using Dest = std::unique_ptr<cups_dest_t, DestFree>;

Dest namedDest(const char* name) {
  return Dest(cupsGetNamedDest(CUPS_HTTP_DEFAULT, name, nullptr));
}

// IPP printer-state 5: the queue takes jobs but holds them until it is started again.
bool stopped(const std::string& queue) {
  const Dest dest = namedDest(queue.c_str());
  if (!dest) return false;
  const char* state = cupsGetOption("printer-state", dest->num_options, dest->options);
  return state && std::strcmp(state, "5") == 0;
}

}  // namespace

std::string defaultQueue() {
  const Dest dest = namedDest(nullptr);
  return dest && dest->name ? dest->name : "";
}

SpoolAnswer spoolPdf(const std::string& queue, const QByteArray& pdf, const std::string& title) {
  const int job = cupsCreateJob(CUPS_HTTP_DEFAULT, queue.c_str(), title.c_str(), 0, nullptr);
  if (job == 0) return SpoolAnswer::Refused;
  if (cupsStartDocument(CUPS_HTTP_DEFAULT, queue.c_str(), job, title.c_str(), CUPS_FORMAT_PDF, 1) !=
      HTTP_STATUS_CONTINUE) {
    cupsCancelJob2(CUPS_HTTP_DEFAULT, queue.c_str(), job, 0);
    return SpoolAnswer::Refused;
  }
  if (cupsWriteRequestData(CUPS_HTTP_DEFAULT, pdf.constData(), static_cast<size_t>(pdf.size())) !=
      HTTP_STATUS_CONTINUE) {
    // The document is ended all the same, so that the connection is free to cancel the job.
    cupsFinishDocument(CUPS_HTTP_DEFAULT, queue.c_str());
    cupsCancelJob2(CUPS_HTTP_DEFAULT, queue.c_str(), job, 0);
    return SpoolAnswer::Refused;
  }
  if (cupsFinishDocument(CUPS_HTTP_DEFAULT, queue.c_str()) > IPP_STATUS_OK_EVENTS_COMPLETE) {
    return SpoolAnswer::Refused;
  }
  return stopped(queue) ? SpoolAnswer::Waiting : SpoolAnswer::Printing;
}

}  // namespace lab
