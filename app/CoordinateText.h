#pragma once
// Number texts of the "Coordinate" tab, which shows the job's coordinate system as the file holds it.
#include <QString>

// A length or grid coordinate in metres, in fixed notation with at least the millimetres and every further
// digit the value holds: 3380000 -> "3380000.000", -0.1523 -> "-0.1523". Not a number -> "nan".
QString metresText(double metres);

// A value in the unit the file stores it in (arc-seconds, ppm, degrees, a scale factor), in fixed notation
// with the shortest digits that read back as the same double: -0.3921 -> "-0.3921", 1.0000042 ->
// "1.0000042", 1 -> "1".
QString storedText(double value);
