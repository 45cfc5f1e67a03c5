#pragma once
// Edits the surveyor has typed or chosen in the point tables but not yet carried into the job by Calculate.
//
// An edit is staged field by field beside the stored value: a field that holds no value is not edited.
// Texts typed into a table are checked where they are typed (parseDecimal, pointNameProblem), so nothing
// that is not a number or that would break a comma-separated record ever reaches an edit.
#include <QString>
#include <optional>

// Which list of the job a table row belongs to.
enum class PointKind { Base, Rover };

// The fields a table lets the user edit. Rovers: Name, AntennaType, AntennaHeight, Method. Bases: North,
// East, Height, AntennaType, AntennaHeight, Method.
enum class EditField { Name, North, East, Height, AntennaType, AntennaHeight, Method };

// Pending values of one point. Rovers use name, antenna type, antenna height and method; bases use north,
// east, height, antenna type, antenna height and method.
struct PointEdit {
    std::optional<QString> name;
    std::optional<double> north;   // metres
    std::optional<double> east;    // metres
    std::optional<double> height;  // metres
    std::optional<QString> antennaType;
    std::optional<double> antennaHeight;  // metres
    std::optional<int> antennaMethod;     // 0..2 (a stored index outside stays until another is chosen)

    // How many fields hold a pending value.
    int fieldCount() const {
        return int(name.has_value()) + int(north.has_value()) + int(east.has_value()) +
               int(height.has_value()) + int(antennaType.has_value()) + int(antennaHeight.has_value()) +
               int(antennaMethod.has_value());
    }
    bool isEmpty() const { return fieldCount() == 0; }
};

// A number typed into a cell: optional sign, digits with at most one decimal point, blanks around it. A
// comma, an exponent, a unit or anything else is refused (nullopt): "3519163,7023" is not 3519163.
std::optional<double> parseDecimal(const QString& text);

// Why name cannot be a point name (it holds a comma or a line break, the raw file's separators, or is
// empty), or an empty text when it can.
QString pointNameProblem(const QString& name);

// The text the tables show for a length or coordinate: fixed notation with 4 decimals.
QString fixed4(double metres);
// A difference in metres as fixed4, with its sign always written: 0.25 -> "+0.2500", -0.1 -> "-0.1000".
QString signedFixed4(double metres);
