#pragma once

// One set of the parameters the pick-up searches: the radar position (metres and
// degrees) and the camera's horizontal half view angle (degrees).
struct CameraParams
{
    double xOffset = 0.0;
    double yOffset = 0.0;
    double height = 0.0;
    double azimuth = 0.0;
    double altitude = 0.0;
    double roll = 0.0;
    double viewAngle = 0.0;
};
