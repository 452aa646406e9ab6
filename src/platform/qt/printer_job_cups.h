// Handing a finished print job to CUPS, whose answer tells whether it was taken.
#pragma once

#include <string>

#include <QByteArray>

namespace lab {

// The name of the system's default queue; empty when there is none.
std::string defaultQueue();

enum class SpoolAnswer { Printing, Waiting, Refused };
// Sends the PDF document as one job to the queue: Waiting when the queue took it but is stopped.
SpoolAnswer spoolPdf(const std::string& queue, const QByteArray& pdf, const std::string& title);

}  // namespace lab
