// One 3DS scene file as the scenes use it: the key-frame animation evaluated
// at a frame number, named cameras turned into GL projection and model-view
// matrices, named lights turned into GL light parameters, the positions of
// named objects, and the lib3ds file itself for the meshes.
//
// Scenes set the frame first (setFrame) and then ask for what they need;
// everything read from nodes is the value evaluated at the last frame set.
// Nodes are looked up by name and lib3ds node type; a camera named N has its
// target node under the same name N. A name the file lacks changes nothing
// (setCamera, lightFromNode) or gives a neutral answer (cameraMatrix,
// objectPosition); so does every operation on a scene whose file could not
// be loaded (`file` null).
//
// setCamera and lightFromNode change GL state on the current context;
// setCamera leaves the matrix mode at GL_MODELVIEW.
#pragma once

#include "core/ShowMath.h"
#include "resources/File3DS.h"

#include <lib3ds/node.h>

#include <epoxy/gl.h>

#include <array>
#include <string>

class ResourceManager;

class Scene3DS {
public:
    // Loads `name` through load3ds (which reports a failure).
    Scene3DS(const char* name, const ResourceManager& resources);
    // Takes the file a loader produced; null when loading failed.
    explicit Scene3DS(File3DSPtr file);

    // Evaluates every node at `frame`; a frame that is not a finite number
    // is ignored (lib3ds would step off its key lists).
    void setFrame(float frame);

    // Projection: perspective with the camera's field of view (degrees) as the
    // vertical angle, aspect width / height (a height of 0 counts as 1),
    // nearPlane and farPlane. Model-view: a -90 degree turn about x (the 3DS
    // camera looks along its y axis, GL along -z) times cameraMatrix(name).
    // Without the camera or its target both matrices stay as they were.
    void setCamera(const std::string& name, int width, int height) const;

    // lib3ds' camera matrix (lib3ds_matrix_camera) from the camera's position,
    // its target's position and its roll, 16 floats in lib3ds' (and GL's)
    // column-major order. Without the camera or its target: all zeros but the
    // last element, which is 1.
    show::Mat4 cameraMatrix(const std::string& name) const;

    // Sets `glLight`'s diffuse and specular colours to (r, g, b, 1) with the
    // light node's colour and its position to (x, y, z, 1), a positional light
    // placed through the current model-view matrix. A name that is not a
    // light leaves the GL light as it was.
    void lightFromNode(const std::string& name, GLenum glLight) const;

    // The translation of the object node's world matrix; (0, 0, 0) when the
    // file has no object node of that name.
    show::Vec3 objectPosition(const std::string& name) const;

    // The node of that name and type, or null.
    Lib3dsNode* findNode(const std::string& name, Lib3dsNodeTypes type) const;

    float nearPlane = 0.1f;
    float farPlane = 300.0f;
    float defaultVector[3] = {0.0f, 1.0f, 0.0f};
    File3DSPtr file;

private:
    // The camera matrix and field of view of `name`; false without the
    // camera or its target.
    bool cameraView(const std::string& name, Lib3dsMatrix matrix, float& fov) const;
};

// Multiplies the model-view by a quarter turn about x (y goes to z):
// geometry modelled with y up then stands upright in a 3DS world, whose up
// is z.
void turnYUpToZUp();
