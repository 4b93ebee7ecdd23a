// The contractor's tax number (NIP): normalisation, the check of a Polish number and the
// question whether to go on when a number is defective.
#pragma once

#include <functional>
#include <string>

namespace velkar {

// Called with the first defect of a number: (message, NIP as normalised so far, document,
// contractor name). It either returns (the check ends and the number is used as it is)
// or raises an error that aborts the caller.
using NIPErrorHandler = std::function<void(const std::string& message, const std::string& nip,
                                           const std::string& document, const std::string& contractorName)>;

// Normalises `nip` in place and reports its first defect through `onError`:
// spaces removed, an empty number made "brak" ("brak" in any case is not checked), upper
// case; a leading two-letter prefix goes to `countryPrefix` (an EU prefix is also removed
// from the number, a non-EU one such as CH stays in it); a foreign number is accepted as
// it is. A Polish number (with or without PL) must have 10 digits, or 13 characters in
// the layouts NNN-NNN-NN-NN or NNN-NN-NN-NNN (the hyphens are removed), and a valid
// check digit (weights 6 5 7 2 3 4 5 6 7, remainder modulo 11; a remainder of 10 never
// passes). Messages: "Zła długość numeru", "Zły format numeru", "Niedozwolone znaki w
// numerze", "Zła suma kontrolna numeru".
void CheckNIP(std::string& countryPrefix, std::string& nip, const NIPErrorHandler& onError, const std::string& document,
              const std::string& contractorName);

// The handler the program uses: an error box with Yes and No,
// message + " NIP: %s\r%s\r%s\rKontynuować?"; Yes returns, any other answer raises
// "Wczytywanie przerwano".
void AskContinueOnNIPError(const std::string& message, const std::string& nip, const std::string& document,
                           const std::string& contractorName);

// The NIP part of reading a contractor: with `validate` the number goes through CheckNIP
// with `onError`; without it the prefix is cleared and an empty number becomes "brak".
// Then a number starting with GB loses those letters to the prefix GB (the United
// Kingdom left the EU list but its numbers are still written without the prefix), and
// one starting with CH gets the prefix CH and keeps its letters.
void NormaliseContractorNIP(std::string& countryPrefix, std::string& nip, bool validate, const NIPErrorHandler& onError,
                            const std::string& document, const std::string& contractorName);

}  // namespace velkar
