// The edition constants of the three builds.
#include "runstate/EditionProfile.h"

const EditionProfile kVelmora1{"Velmora1", 0, "Velmora1.env", "Orbeck２１"};
const EditionProfile kVelmora2{"Velmora2", 3, "Velmora2.env", "Orbeck２１ Lintra"};
const EditionProfile kVelmora3{"Velmora3", 4, "Velmora3.env", "Orbeck２１ ハルモア"};
