#include "analyse/attributes/base_attributes.h"

const base_attribute pbaBaseAttributes[NUM_BASE_ATTRIBUTES + 1] = {
    {"age", ATTRIB_INT},
    {"ahead", ATTRIB_INT},
    {"ambiguity", ATTRIB_INT},
    {"area", ATTRIB_INT},
    {"birth", ATTRIB_INT},
    {"decompentropy", ATTRIB_DOUBLE},
    {"greyentropy", ATTRIB_DOUBLE},
    {"left", ATTRIB_INT},
    {"meangrey", ATTRIB_INT},
    {"perimeter", ATTRIB_INT},
    {"right", ATTRIB_INT},
    {"sons", ATTRIB_INT},
    {"stddev", ATTRIB_DOUBLE},
    {"volume", ATTRIB_INT},
    {"maxwidth", ATTRIB_INT},
    {"minwidth", ATTRIB_INT},
    {"variance", ATTRIB_DOUBLE},
    {"centroidX", ATTRIB_DOUBLE},
    {"centroidY", ATTRIB_DOUBLE},
    {"centroidXn", ATTRIB_DOUBLE},
    {"centroidYn", ATTRIB_DOUBLE},
    {"orientation", ATTRIB_DOUBLE},
    {"paxisn", ATTRIB_DOUBLE},
    {"aaxisn", ATTRIB_DOUBLE},
    {"paxis", ATTRIB_INT},
    {"aaxis", ATTRIB_INT},
    {"minx", ATTRIB_INT},
    {"maxx", ATTRIB_INT},
    {"miny", ATTRIB_INT},
    {"maxy", ATTRIB_INT},
    {"meangreyn", ATTRIB_DOUBLE},
    {"mingrey", ATTRIB_INT},
    {"maxgrey", ATTRIB_INT},
    {"border", ATTRIB_INT},
    {"node", ATTRIB_INT},
    {nullptr, 0},
};

double get_base_attribute(const tregionnode* r, int index)
{
    switch (index) {
    case 0: return r->age;
    case 1: return r->ahead;
    case 2: return r->ambiguity;
    case 3: return r->size;
    case 4: return r->birth;
    case 5: return r->decompentropy;
    case 6: return r->greyentropy;
    case 7: return r->left;
    case 8: return r->meangrey;
    case 9: return r->contour_size;
    case 10: return r->right;
    case 11: return r->nsons;
    case 12: return r->stddev;
    case 13: return r->volume;
    case 14: return r->max_width;
    case 15: return r->min_width;
    case 16: return r->variance;
    case 17: return r->centroidX;
    case 18: return r->centroidY;
    case 19: return r->centroidXn;
    case 20: return r->centroidYn;
    case 21: return r->orientation;
    case 22: return r->paxisn;
    case 23: return r->aaxisn;
    case 24: return r->paxis;
    case 25: return r->aaxis;
    case 26: return r->minx;
    case 27: return r->maxx;
    case 28: return r->miny;
    case 29: return r->maxy;
    case 30: return r->meangreyn;
    case 31: return r->mingrey;
    case 32: return r->maxgrey;
    case 33: return r->border;
    case 34: return r->file_index;
    default: return 0.0;
    }
}
