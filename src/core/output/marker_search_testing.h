// Test seam of the marker search and the splice: lets tests run the portable
// search and byte moves on machines where the vector ones would be chosen.
#pragma once

namespace pw {

void UsePortableSearchForTesting(bool portable);

}  // namespace pw
