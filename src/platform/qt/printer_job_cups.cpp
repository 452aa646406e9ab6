// The print job through the CUPS API, so that a refusal is seen instead of lost. The library is
// loaded at the first print: linked, it and the TLS and Kerberos libraries it pulls in would
// cost every start-up some milliseconds and 3 MB, and most runs never print.
#include "platform/qt/printer_job_cups.h"

#include <cstring>
#include <memory>

#include <cups/cups.h>
#include <QLibrary>

namespace lab {
namespace {

// The calls we make, resolved by name; all null when the library cannot be loaded.
struct CupsApi {
  decltype(&cupsGetNamedDest) getNamedDest = nullptr;
  decltype(&cupsFreeDests) freeDests = nullptr;
  decltype(&cupsGetOption) getOption = nullptr;
  decltype(&cupsCreateJob) createJob = nullptr;
  decltype(&cupsStartDocument) startDocument = nullptr;
  decltype(&cupsWriteRequestData) writeRequestData = nullptr;
  decltype(&cupsFinishDocument) finishDocument = nullptr;
  decltype(&cupsCancelJob2) cancelJob = nullptr;
};

template <typename Function>
bool resolve(QLibrary& library, const char* name, Function& function) {
  function = reinterpret_cast<Function>(library.resolve(name));
  return function != nullptr;
}

CupsApi load() {
  // Stays loaded for the rest of the run: QLibrary unloads only when asked to.
  QLibrary library(QStringLiteral("cups"), 2);
  CupsApi api;
  const bool complete = resolve(library, "cupsGetNamedDest", api.getNamedDest) &&
                        resolve(library, "cupsFreeDests", api.freeDests) &&
                        resolve(library, "cupsGetOption", api.getOption) &&
                        resolve(library, "cupsCreateJob", api.createJob) &&
                        resolve(library, "cupsStartDocument", api.startDocument) &&
                        resolve(library, "cupsWriteRequestData", api.writeRequestData) &&
                        resolve(library, "cupsFinishDocument", api.finishDocument) &&
                        resolve(library, "cupsCancelJob2", api.cancelJob);
  return complete ? api : CupsApi{};
}

// Shared by every platform in the process, like a linked library would be; holds no state.
const CupsApi& cups() {
  static const CupsApi api = load();
  return api;
}

struct DestFree {
  void operator()(cups_dest_t* dest) const { cups().freeDests(1, dest); }
};
using Dest = std::unique_ptr<cups_dest_t, DestFree>;

Dest namedDest(const char* name) {
  return Dest(cups().getNamedDest(CUPS_HTTP_DEFAULT, name, nullptr));
}

// IPP printer-state 5: the queue takes jobs but holds them until it is started again.
bool stopped(const std::string& queue) {
  const Dest dest = namedDest(queue.c_str());
  if (!dest) return false;
  const char* state = cups().getOption("printer-state", dest->num_options, dest->options);
  return state && std::strcmp(state, "5") == 0;
}

}  // namespace

std::string defaultQueue() {
  // Without the library there is no printing system to ask: no printer.
  if (!cups().getNamedDest) return "";
  const Dest dest = namedDest(nullptr);
  return dest && dest->name ? dest->name : "";
}

SpoolAnswer spoolPdf(const std::string& queue, const QByteArray& pdf, const std::string& title) {
  const CupsApi& api = cups();
  if (!api.createJob) return SpoolAnswer::Refused;
  const int job = api.createJob(CUPS_HTTP_DEFAULT, queue.c_str(), title.c_str(), 0, nullptr);
  if (job == 0) return SpoolAnswer::Refused;
  if (api.startDocument(CUPS_HTTP_DEFAULT, queue.c_str(), job, title.c_str(), CUPS_FORMAT_PDF, 1) !=
      HTTP_STATUS_CONTINUE) {
    api.cancelJob(CUPS_HTTP_DEFAULT, queue.c_str(), job, 0);
    return SpoolAnswer::Refused;
  }
  if (api.writeRequestData(CUPS_HTTP_DEFAULT, pdf.constData(), static_cast<size_t>(pdf.size())) !=
      HTTP_STATUS_CONTINUE) {
    // The document is ended all the same, so that the connection is free to cancel the job.
    api.finishDocument(CUPS_HTTP_DEFAULT, queue.c_str());
    api.cancelJob(CUPS_HTTP_DEFAULT, queue.c_str(), job, 0);
    return SpoolAnswer::Refused;
  }
  if (api.finishDocument(CUPS_HTTP_DEFAULT, queue.c_str()) > IPP_STATUS_OK_EVENTS_COMPLETE) {
    return SpoolAnswer::Refused;
  }
  return stopped(queue) ? SpoolAnswer::Waiting : SpoolAnswer::Printing;
}

}  // namespace lab
