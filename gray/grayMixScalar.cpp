// Scalar partial kernels: the mix written out pixel by pixel. Runs on any CPU; the other
// paths' mix runners must match it bit for bit.
#include "grayMixKernels.h"

const GrayMixRunners grayScalarMixRunners = {
    scalarMixPixels32<GRAY_FAMILY_NTSC>, scalarMixPixels24<GRAY_FAMILY_NTSC>, scalarMixPixels16<GRAY_FAMILY_NTSC>,
    scalarMixPixels32<GRAY_FAMILY_HDTV>, scalarMixPixels24<GRAY_FAMILY_HDTV>, scalarMixPixels16<GRAY_FAMILY_HDTV>,
};
