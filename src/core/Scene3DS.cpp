#include "core/Scene3DS.h"

#include "resources/ResourceManager.h"

#include <lib3ds/matrix.h>

#include <GL/glu.h>

#include <cmath>

Scene3DS::Scene3DS(const char* name, const ResourceManager& resources) : file(load3ds(resources, name)) {}

Scene3DS::Scene3DS(File3DSPtr loaded) : file(std::move(loaded)) {}

void Scene3DS::setFrame(float frame)
{
    if (file && std::isfinite(frame))
        lib3ds_file_eval(file.get(), frame);
}

Lib3dsNode* Scene3DS::findNode(const std::string& name, Lib3dsNodeTypes type) const
{
    return file ? lib3ds_file_node_by_name(file.get(), name.c_str(), type) : nullptr;
}

bool Scene3DS::cameraView(const std::string& name, Lib3dsMatrix matrix, float& fov) const
{
    Lib3dsNode* camera = findNode(name, LIB3DS_CAMERA_NODE);
    Lib3dsNode* target = findNode(name, LIB3DS_TARGET_NODE);
    if (!camera || !target)
        return false;
    lib3ds_matrix_camera(matrix, camera->data.camera.pos, target->data.target.pos, camera->data.camera.roll);
    fov = camera->data.camera.fov;
    return true;
}

void Scene3DS::setCamera(const std::string& name, int width, int height) const
{
    Lib3dsMatrix view;
    float fov;
    if (!cameraView(name, view, fov))
        return;
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(fov, double(width) / double(height == 0 ? 1 : height), nearPlane, farPlane);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    glRotatef(-90.0f, 1.0f, 0.0f, 0.0f);
    glMultMatrixf(&view[0][0]);
}

void turnYUpToZUp()
{
    glRotatef(90.0f, 1.0f, 0.0f, 0.0f);
}

show::Mat4 Scene3DS::cameraMatrix(const std::string& name) const
{
    Lib3dsMatrix view;
    float fov;
    show::Mat4 result{};
    if (!cameraView(name, view, fov)) {
        result.m[15] = 1.0f;
        return result;
    }
    for (int column = 0; column < 4; ++column)
        for (int row = 0; row < 4; ++row)
            result.m[column * 4 + row] = view[column][row];
    return result;
}

void Scene3DS::lightFromNode(const std::string& name, GLenum glLight) const
{
    const Lib3dsNode* light = findNode(name, LIB3DS_LIGHT_NODE);
    if (!light)
        return;
    const Lib3dsLightData& data = light->data.light;
    const GLfloat colour[4] = {data.col[0], data.col[1], data.col[2], 1.0f};
    const GLfloat position[4] = {data.pos[0], data.pos[1], data.pos[2], 1.0f};
    glLightfv(glLight, GL_DIFFUSE, colour);
    glLightfv(glLight, GL_SPECULAR, colour);
    glLightfv(glLight, GL_POSITION, position);
}

show::Vec3 Scene3DS::objectPosition(const std::string& name) const
{
    const Lib3dsNode* object = findNode(name, LIB3DS_OBJECT_NODE);
    if (!object)
        return {};
    return {object->matrix[3][0], object->matrix[3][1], object->matrix[3][2]};
}
