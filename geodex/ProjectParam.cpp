#include "geodex/ProjectParam.h"

namespace Orvale::Geodex {

ProjectParam::ProjectParam()
    : centralMeridian(2.0943951023931953),
      originLatitude(0),
      falseEasting(500000.0),
      falseNorthing(0),
      scaleFactor(1.0),
      standardParallel1(0),
      standardParallel2(0),
      zone(8),
      zoneOverride(0),
      hemisphere(0),
      coneAxisColatitude(1.04216856380474) {}

}  // namespace Orvale::Geodex
