// The credits of the title screen and the author box, shared by both programs: neutral
// stand-ins that name no real person and no real school.
#pragma once

namespace lab {

inline constexpr const char* CreditAuthorName = "Dr. A. Beispiel";
inline constexpr const char* CreditAuthorLine = "Dr. A. Beispiel  1995 - 2026";
inline constexpr const char* CreditSchool = "Physik-Lernwerkstatt";
inline constexpr const char* CreditStreet = "Lehrmittelweg 1";
inline constexpr const char* CreditPostcodeTown = "12345 Musterstadt";

}  // namespace lab
