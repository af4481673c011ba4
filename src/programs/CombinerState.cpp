#include "programs/CombinerState.h"

namespace programs {

CombinerState::CombinerState()
{
    for (GeneralCombiner& g : general) {
        for (CombinerPortion* p : {&g.rgb, &g.alpha}) {
            GLenum usage = p == &g.rgb ? GL_RGB : GL_ALPHA;
            p->inputs[VarA] = {GL_TEXTURE0_ARB, GL_UNSIGNED_IDENTITY_NV, usage};
            p->inputs[VarB] = {GL_PRIMARY_COLOR_NV, GL_UNSIGNED_IDENTITY_NV, usage};
            p->inputs[VarC] = {GL_ZERO, GL_UNSIGNED_IDENTITY_NV, usage};
            p->inputs[VarD] = {GL_ZERO, GL_UNSIGNED_IDENTITY_NV, usage};
            p->abOutput = GL_SPARE0_NV;
        }
    }
    finalInputs[VarA] = {GL_FOG, GL_UNSIGNED_IDENTITY_NV, GL_ALPHA};
    finalInputs[VarB] = {GL_SPARE0_PLUS_SECONDARY_COLOR_NV, GL_UNSIGNED_IDENTITY_NV, GL_RGB};
    finalInputs[VarC] = {GL_FOG, GL_UNSIGNED_IDENTITY_NV, GL_RGB};
    finalInputs[VarD] = {GL_ZERO, GL_UNSIGNED_IDENTITY_NV, GL_RGB};
    finalInputs[VarE] = {GL_ZERO, GL_UNSIGNED_IDENTITY_NV, GL_RGB};
    finalInputs[VarF] = {GL_ZERO, GL_UNSIGNED_IDENTITY_NV, GL_RGB};
    finalInputs[VarG] = {GL_SPARE0_NV, GL_UNSIGNED_IDENTITY_NV, GL_ALPHA};
}

} // namespace programs
