// The dog picture's bytes, compiled into fernwick_core by cmake/picture.cmake: dog.gif (146 x 153)
// and dog@2x.gif (292 x 306, for screens whose scale is 2), both rendered from dog.svg.
#pragma once

#include "fernwick_dog_2x_gif.h"
#include "fernwick_dog_gif.h"
