// Test seam of the marker search: lets tests run the portable search on
// machines where the vector search would be chosen.
#pragma once

namespace pw {

void UsePortableSearchForTesting(bool portable);

}  // namespace pw
