#include "pack/PackOrder.h"

const std::vector<std::string>& packEntryOrder()
{
    static const std::vector<std::string> order = {
        "aflower.xml", "effect.xsl", "fallingparticles.xml", "inverse.xml", "jitter.xml",
        "letterbox.xml", "overlayimage.xml", "pullwarp.xml", "rcfilter.xml", "ribbonarray.xml",
        "scriptplayer.xml", "testscript.xml", "tv.xml", "bezpatch.vp", "bezpatch.vpc", "flower.vp",
        "flower.vpc", "flower2.vp", "flower2.vpc", "floweraniso.vp", "floweraniso.vpc",
        "hribbon.vp", "hribbon.vpc", "hribbonaniso.vp", "hribbonaniso.vpc", "particle.vp",
        "particle.vpc", "sphere.vp", "sphere.vpc", "sphereReflect.vp", "sphereReflect.vpc",
        "temp.vp", "temp.vpc", "image.script", "intro.script", "pull.script", "test.script",
        "testjitter.script", "testoverlay.script", "avg.rcp", "bweffect.rcp", "inverseeffect.rcp",
        "light.rcp", "moire.rcp", "moire2.rcp", "sexy.rcp", "credit1a.png", "credit1b.png",
        "credit2a.png", "credit2b.png", "credit3a.png", "credit3b.png", "credit4a.png",
        "credit4b.png", "title3.png", "title1.png", "title0.png", "pmxlogo3b.png", "pmxlogo3c.png",
        "loading.png", "title2.png", "Untitled-1.png", "Untitled-2.png", "end.jpg", "fear.jpg",
        "group0.jpg", "k16.jpg", "k32.jpg", "k32b.jpg", "k8.jpg", "loading.jpg", "text0.jpg",
        "text1.jpg", "text2.jpg", "text3.jpg", "text4.jpg", "text5.jpg", "text6.jpg", "tvmask2.jpg",
        "k32b.bmp", "demo.cfg", "flower.cfg", "funksphere.cfg", "hribbon.cfg", "normalwarp.cfg",
        "shadowcube.cfg", "shadowGlow.cfg", "shadowobject.cfg", "shadowroom.cfg", "aflowers.3DS",
        "flowers.3ds", "funksphere.3ds", "hribbon.3ds", "intro-gz.3ds", "ribbons.3DS",
        "shadowscene.3DS", "volume.3ds", "volume.3ds",
    };
    return order;
}
