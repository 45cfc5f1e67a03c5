#include "geodex/catalogues/CRS.h"

namespace Orvale::Geodex {

// Fields a catalogue file does not carry start at 0 (false for the flags); the plane adjustment
// starts as "no change" (planeScale 1.0).
CRS::CRS()
    : transformMethod(0),
      projectMethod(0),
      type(CRS_Type(0)),
      egmInterpolater(0),
      direction1(DIRECTION(0)),
      direction2(DIRECTION(0)),
      southAzimuth(false),
      isUserDefined(false),
      planeAdjustMethod(0),
      eleAdjustMethod(0),
      planeAdjustParam{0, 0, 0, 0, 0, 1.0},
      eleAdjustParam{0, 0, 0, 0, 0, 0},
      eleAdjustParamTGO{0, 0, 0, 0, 0} {}

CRS::CRS(const std::string& value) : CRS() { name = value; }

void CRS::SetName(const std::string& value) { name = value; }
std::string CRS::GetName() const { return name; }
void CRS::SetEllipsoid(const Ellipsoid& value) { ellipsoid = value; }
Ellipsoid CRS::GetEllipsoid() const { return ellipsoid; }
void CRS::SetTransformMethod(int value) { transformMethod = value; }
int CRS::GetTransformMethod() const { return transformMethod; }
void CRS::SetTransformParams(const ParamSeven& value) { transformParams = value; }
ParamSeven CRS::GetTransformParams() const { return transformParams; }
void CRS::SetProjectMethod(int value) { projectMethod = value; }
int CRS::GetProjectMethod() const { return projectMethod; }
void CRS::SetProjectParams(const ProjectParam& value) { projectParams = value; }
ProjectParam CRS::GetProjectParams() const { return projectParams; }
void CRS::SetType(CRS_Type value) { type = value; }
CRS_Type CRS::GetType() const { return type; }
void CRS::SetGeoidFilePath(const std::string& value) { geoidFilePath = value; }
std::string CRS::GetGeoidFilePath() const { return geoidFilePath; }
void CRS::SetEGMInterpolater(int value) { egmInterpolater = value; }
int CRS::GetEGMInterpolater() const { return egmInterpolater; }
void CRS::SetDirection1(DIRECTION value) { direction1 = value; }
DIRECTION CRS::GetDirection1() const { return direction1; }
void CRS::SetDirection2(DIRECTION value) { direction2 = value; }
DIRECTION CRS::GetDirection2() const { return direction2; }
void CRS::SetSouthAzimuth(bool value) { southAzimuth = value; }
bool CRS::GetSouthAzimuth() const { return southAzimuth; }
void CRS::SetIsUserDefined(bool value) { isUserDefined = value; }
bool CRS::GetIsUserDefined() const { return isUserDefined; }
void CRS::SetPlaneAdjustMethod(int value) { planeAdjustMethod = value; }
int CRS::GetPlaneAdjustMethod() const { return planeAdjustMethod; }
void CRS::SetEleAdjustMethod(int value) { eleAdjustMethod = value; }
int CRS::GetEleAdjustMethod() const { return eleAdjustMethod; }
void CRS::SetPlaneAdjustParam(const PlaneAdjustParam& value) { planeAdjustParam = value; }
PlaneAdjustParam CRS::GetPlaneAdjustParam() const { return planeAdjustParam; }
void CRS::SetEleAdjustParam(const EleAdjustParam& value) { eleAdjustParam = value; }
EleAdjustParam CRS::GetEleAdjustParam() const { return eleAdjustParam; }
void CRS::SetEleAdjustParamTGO(const EleAdjustParamTGO& value) { eleAdjustParamTGO = value; }
EleAdjustParamTGO CRS::GetEleAdjustParamTGO() const { return eleAdjustParamTGO; }

}  // namespace Orvale::Geodex
