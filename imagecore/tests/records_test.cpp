#include <cmath>
#include <cstdlib>

#include "imagecore/handles.h"
#include "imagecore/image.h"
#include "imagecore/list.h"
#include "imagecore/queue.h"
#include "imagecore/vx_image.h"
#include "testsupport/vx_test.h"

TEST(IQueue, KeepsOrderAcrossWrapAndRefusesWhenFull)
{
    const iqueue_handle q(init_iqueue(3));
    EXPECT_EQ(iqueue_put(1, q.get()), 1);
    EXPECT_EQ(iqueue_put(2, q.get()), 1);
    EXPECT_EQ(iqueue_put(3, q.get()), 1);
    EXPECT_EQ(iqueue_put(4, q.get()), 0);
    int v = -7;
    ASSERT_EQ(iqueue_get(&v, q.get()), 1);
    EXPECT_EQ(v, 1);
    EXPECT_EQ(iqueue_put(5, q.get()), 1);
    int out[3];
    for (int& o : out)
        ASSERT_EQ(iqueue_get(&o, q.get()), 1);
    EXPECT_EQ(out[0], 2);
    EXPECT_EQ(out[1], 3);
    EXPECT_EQ(out[2], 5);
    v = -7;
    EXPECT_EQ(iqueue_get(&v, q.get()), 0);
    EXPECT_EQ(v, -7);
}

TEST(IQueue, GrowingPutKeepsOrderOfAWrappedRing)
{
    const iqueue_handle q(init_iqueue(4));
    for (int i = 0; i < 3; ++i)
        iqueue_put(i, q.get());
    int v;
    iqueue_get(&v, q.get());
    iqueue_get(&v, q.get());
    for (int i = 3; i < 20; ++i)
        iqueue_put_grow(i, q.get());
    for (int expect = 2; expect < 20; ++expect) {
        ASSERT_EQ(iqueue_get(&v, q.get()), 1);
        EXPECT_EQ(v, expect);
    }
    EXPECT_TRUE(iqueue_empty(q.get()));
}

TEST(List, CursorFindAndDeletion)
{
    const list_handle l(init_list());
    int a = 0, b = 0;
    add_list_node(l.get(), init_list_elem(reinterpret_cast<intptr_t>(&a)));
    list_elem* second = init_list_elem(reinterpret_cast<intptr_t>(&b));
    add_list_node(l.get(), second);
    add_list_node(l.get(), init_list_elem(reinterpret_cast<intptr_t>(&b)));
    EXPECT_EQ(list_size(l.get()), 3);

    EXPECT_EQ(find_elem_entry_in_list(l.get(), reinterpret_cast<intptr_t>(&b)), second);
    EXPECT_EQ(act_list_elem(l.get()), second);

    EXPECT_EQ(delete_elem_in_list(l.get(), l->head), nullptr);
    EXPECT_EQ(delete_elem_in_list(l.get(), l->tail), nullptr);
    EXPECT_EQ(list_size(l.get()), 3);

    list_elem* last = l->tail->prev;
    EXPECT_EQ(delete_elem_in_list(l.get(), last), l->tail);
    EXPECT_EQ(act_list_elem(l.get()), l->tail);
    EXPECT_EQ(next_list_elem_entry(l.get()), 0);

    reset_list(l.get());
    EXPECT_EQ(next_list_elem_entry(l.get()), reinterpret_cast<intptr_t>(&a));
    EXPECT_EQ(next_list_elem_entry(l.get()), reinterpret_cast<intptr_t>(&b));
    EXPECT_EQ(next_list_elem_entry(l.get()), 0);

    EXPECT_EQ(list_size(nullptr), 0);
    reset_list(nullptr);
    EXPECT_EQ(next_list_elem_entry(nullptr), 0);
}

TEST(List, EmptyListDeletionIsFatal)
{
    EXPECT_VX_FATAL(
        {
            list* l = init_list();
            delete_elem_in_list(l, init_list_elem(7));
        },
        42, "No Elemems to delete from list -> PANIC");
}

TEST(List, SentinelsOfAnEmptyListAreNotDeleted)
{
    list* l = init_list();
    EXPECT_EQ(delete_elem_in_list(l, l->head), nullptr);
    EXPECT_EQ(delete_elem_in_list(l, l->tail), nullptr);
    EXPECT_EQ(list_size(l), 0);
    EXPECT_EQ(l->head->next, l->tail);
    delete_list(l);
}

TEST(List, EraseFreesEntriesAndEmptyListsGo)
{
    list* l = init_list();
    add_list_node(l, init_list_elem(reinterpret_cast<intptr_t>(std::malloc(16))));
    erase_list(l);
    EXPECT_EQ(delete_list_on_empty(init_list()), nullptr);
}

TEST(Image, NeighbourTestDoesNotWrapRows)
{
    const int w = 5, h = 4;
    EXPECT_FALSE(new_position_in_image(1, 4, w, h));
    EXPECT_FALSE(new_position_in_image(-1, 5, w, h));
    EXPECT_FALSE(new_position_in_image(1 - w, 2, w, h));
    EXPECT_TRUE(new_position_in_image(w + 1, 6, w, h));
    EXPECT_TRUE(new_position_in_image(-w - 1, 6, w, h));
    EXPECT_FALSE(new_position_in_image(w, 3 * w + 2, w, h));
    // At width 2 east and west must not be taken for diagonals.
    EXPECT_TRUE(new_position_in_image(1, 0, 2, 2));
    EXPECT_TRUE(new_position_in_image(-1, 1, 2, 2));
    EXPECT_FALSE(new_position_in_image(1, 1, 2, 2));
    for (int d = 0; d < 8; ++d) {
        EXPECT_TRUE(neighbour_in_image(d, 1, 1, 3, 3));
        EXPECT_EQ(neighbour_in_image(d, 0, 0, 1, 1), false);
    }
    EXPECT_TRUE(neighbour_in_image(6, 1, 0, 2, 2));   // SW at width 2
    EXPECT_FALSE(neighbour_in_image(1, 1, 0, 2, 2));  // E of the last column
}

TEST(Image, RecordsCopyAndCompare)
{
    const image_handle img(create_image(4, 3, 7));
    EXPECT_EQ(img->nb_offsets[0], -4);
    EXPECT_EQ(img->nb_offsets[6], 3);
    img->aux = static_cast<int*>(std::malloc(5 * sizeof(int)));
    img->aux_len = 5;
    for (int i = 0; i < 5; ++i)
        img->aux[i] = i;
    img->nb_offsets[2] = 0;  // stale offsets are not passed on
    const image_handle copy(create_copy_image(img.get()));
    EXPECT_EQ(copy->nb_offsets[2], 4);
    ASSERT_NE(copy->aux, img->aux);
    copy->aux[0] = 99;
    EXPECT_EQ(img->aux[0], 0);
    EXPECT_EQ(compare_images(img.get(), copy.get()), 1);
    copy->pixels[11] = 8;
    EXPECT_EQ(compare_images(img.get(), copy.get()), 0);
    EXPECT_EQ(update_image_struct(copy.get()), 7);
    EXPECT_EQ(copy->max, 8);

    const image_handle one(create_image(1, 1, -3));
    one->min = one->max = 0;
    update_image_struct(one.get());
    EXPECT_EQ(one->min, -3);
    EXPECT_EQ(one->max, -3);
}

TEST(Image, EqualizeRoundsHalfUp)
{
    const image_handle img(create_image(11, 1, 0));
    for (int i = 0; i < 11; ++i)
        img->pixels[i] = 10 + i;
    equalize_image(img.get(), 255);
    EXPECT_EQ(img->pixels[0], 0);
    EXPECT_EQ(img->pixels[1], 26);  // 25.5 rounds up
    EXPECT_EQ(img->pixels[10], 255);
    erase_image(img.get(), 4);
    equalize_image(img.get(), 255);
    EXPECT_EQ(img->pixels[5], 0);
}

TEST(Image, FatalConditions)
{
    EXPECT_VX_FATAL(
        {
            image* a = create_image(4, 3, 0);
            image* b = create_image(3, 4, 0);
            copy_image(b, a);
        },
        42, "copy different sized image structs SRC\\(4,3\\), DEST\\(3,4\\)");
    EXPECT_VX_FATAL(set_image_connect(create_image(1, 1, 0), 6), 100,
                    "Connectivity not known-> PANIC");
    EXPECT_VX_FATAL(get_image_connect(nullptr), 100, "No image-> PANIC");
    EXPECT_VX_FATAL(init_image(nullptr), 815, "No valid image struct for initialization");
    EXPECT_VX_FATAL(create_image(1 << 20, 1 << 20, 0), 815,
                    "Not enough Mem for new image vector in UTILS");
}

TEST(VxImage, ScalesAndCopies)
{
    const image_handle src(create_image(3, 2, 0));
    for (int i = 0; i < 6; ++i)
        src->pixels[i] = i;
    const vx_image_handle v(init_vximage_from_single_image(src.get(), 3, 1));
    EXPECT_EQ(get_scale(v.get(), 3), nullptr);
    EXPECT_EQ(get_scale(v.get(), -1), nullptr);
    EXPECT_EQ(get_scale(v.get(), 0)->max, 5);
    EXPECT_EQ(get_scale(v.get(), 2)->nb_offsets[2], 3);
    get_scale(v.get(), 1)->pixels[0] = 9;
    const vx_image_handle copy(init_vximage(v.get(), 0));
    EXPECT_EQ(copy->scales[1].pixels[0], 9);
    erase_vximage(copy.get());
    EXPECT_EQ(copy->scales[1].pixels[0], 0);
    EXPECT_EQ(copy->scales[0].pixels[5], 5);

    const vx_image_handle big(scale_vximage(v.get(), 2.0));
    ASSERT_EQ(big->width, 6);
    ASSERT_EQ(big->height, 4);
    EXPECT_EQ(big->scales[0].pixels[3 * 6 + 5], 5);
    EXPECT_EQ(big->scales[0].pixels[1], 0);
    EXPECT_EQ(scale_vximage(v.get(), 0.0), nullptr);
    EXPECT_EQ(scale_vximage(v.get(), NAN), nullptr);
    EXPECT_EQ(scale_vximage(v.get(), 0.3), nullptr);
}
