#pragma once
// The whole public interface of the Geodex library.

// Value types
#include "geodex/AdjustParams.h"
#include "geodex/Converter.h"
#include "geodex/DatumTransformer.h"
#include "geodex/Ellipsoid.h"
#include "geodex/ParamSeven.h"
#include "geodex/ParamThree.h"
#include "geodex/ProjectParam.h"

// Projection framework
#include "geodex/projections/CSException.h"
#include "geodex/projections/CartesianCoordinates.h"
#include "geodex/projections/CoordinateSystem.h"
#include "geodex/projections/CoordinateTuple.h"
#include "geodex/projections/CoordinateType.h"
#include "geodex/projections/Geocentric.h"
#include "geodex/projections/GeodeticCoordinates.h"
#include "geodex/projections/MapProjectionCoordinates.h"
#include "geodex/projections/ProjectionMessage.h"
#include "geodex/projections/UTMCoordinates.h"

// Projection classes
#include "geodex/projections/AlbersEqualAreaConic.h"
#include "geodex/projections/AzimuthalEquidistant.h"
#include "geodex/projections/Bonne.h"
#include "geodex/projections/Cassini.h"
#include "geodex/projections/CylindricalEqualArea.h"
#include "geodex/projections/EckertIV.h"
#include "geodex/projections/EckertVI.h"
#include "geodex/projections/EquidistantCylindrical.h"
#include "geodex/projections/Gnomonic.h"
#include "geodex/projections/Krovak.h"
#include "geodex/projections/LambertConformalConic.h"
#include "geodex/projections/Mercator.h"
#include "geodex/projections/MillerCylindrical.h"
#include "geodex/projections/Mollweide.h"
#include "geodex/projections/Orthographic.h"
#include "geodex/projections/PolarLambertConformalConic.h"
#include "geodex/projections/PolarStereographic.h"
#include "geodex/projections/Polyconic.h"
#include "geodex/projections/Sinusoidal.h"
#include "geodex/projections/Stereographic.h"
#include "geodex/projections/TransverseCylindricalEqualArea.h"
#include "geodex/projections/TransverseMercator.h"
#include "geodex/projections/UTM.h"
#include "geodex/projections/VanDerGrinten.h"

// Catalogues
#include "geodex/catalogues/CRS.h"
#include "geodex/catalogues/CRSDB.h"
#include "geodex/catalogues/EllipsoidDB.h"
#include "geodex/catalogues/EllipsoidParam.h"

// Geoid
#include "geodex/geoid/GeoidDB.h"
#include "geodex/geoid/GeoidError.h"

// Parameter estimation
#include "geodex/solver/ParamSolver.h"
#include "numera/EquationSolver.h"
