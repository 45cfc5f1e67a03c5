#pragma once
#include <string>

#include "geodex/AdjustParams.h"
#include "geodex/Ellipsoid.h"
#include "geodex/Export.h"
#include "geodex/ParamSeven.h"
#include "geodex/ProjectParam.h"

namespace Orvale::Geodex {

// Everything that describes one local coordinate reference system: name, ellipsoid, datum shift,
// projection, axis directions, geoid file and plane and elevation adjustments. Method codes have the
// meanings of DatumTransformer; angles in radians, lengths in metres.
class GEODEX_EXPORT CRS {
  public:
    CRS();
    explicit CRS(const std::string& name);

    void SetName(const std::string& value);
    std::string GetName() const;
    void SetEllipsoid(const Ellipsoid& value);
    Ellipsoid GetEllipsoid() const;
    void SetTransformMethod(int value);  // 1 = seven-parameter, 2 = three-parameter
    int GetTransformMethod() const;
    void SetTransformParams(const ParamSeven& value);
    ParamSeven GetTransformParams() const;
    void SetProjectMethod(int value);  // CoordinateType code of the projection
    int GetProjectMethod() const;
    void SetProjectParams(const ProjectParam& value);
    ProjectParam GetProjectParams() const;
    void SetType(CRS_Type value);
    CRS_Type GetType() const;
    void SetGeoidFilePath(const std::string& value);  // GGF geoid file
    std::string GetGeoidFilePath() const;
    void SetEGMInterpolater(int value);  // stored only
    int GetEGMInterpolater() const;
    void SetDirection1(DIRECTION value);
    DIRECTION GetDirection1() const;
    void SetDirection2(DIRECTION value);
    DIRECTION GetDirection2() const;
    void SetSouthAzimuth(bool value);
    bool GetSouthAzimuth() const;
    void SetIsUserDefined(bool value);
    bool GetIsUserDefined() const;
    void SetPlaneAdjustMethod(int value);
    int GetPlaneAdjustMethod() const;
    void SetEleAdjustMethod(int value);
    int GetEleAdjustMethod() const;
    void SetPlaneAdjustParam(const PlaneAdjustParam& value);
    PlaneAdjustParam GetPlaneAdjustParam() const;
    void SetEleAdjustParam(const EleAdjustParam& value);
    EleAdjustParam GetEleAdjustParam() const;
    void SetEleAdjustParamTGO(const EleAdjustParamTGO& value);
    EleAdjustParamTGO GetEleAdjustParamTGO() const;

  private:
    std::string name;
    Ellipsoid ellipsoid;
    ProjectParam projectParams;
    ParamSeven transformParams;
    int transformMethod;
    int projectMethod;
    CRS_Type type;
    std::string geoidFilePath;
    int egmInterpolater;
    DIRECTION direction1;
    DIRECTION direction2;
    bool southAzimuth;
    bool isUserDefined;
    int planeAdjustMethod;
    int eleAdjustMethod;
    PlaneAdjustParam planeAdjustParam;
    EleAdjustParam eleAdjustParam;
    EleAdjustParamTGO eleAdjustParamTGO;
};

}  // namespace Orvale::Geodex
