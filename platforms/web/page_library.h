// What the page does for the C++ side: the functions of library.js (linked with --js-library),
// each one step on the page's elements or the browser's decoder.
#pragma once

#include <cstdint>

extern "C" {
// The length of the window description the page took from the module's head, 0 for none; and
// its bytes, copied to `out`.
int vk_page_description_size();
void vk_page_description_copy(uint8_t* out);
// The player cannot start: `why` in the page's failure sentence, in the picture's place.
void vk_page_fail(const char* why);
// Hands the slides' JPEGs (`count` pairs of offset and length in the module's memory at `jpegs`)
// to the browser's decoder, unless the page already did as they arrived: the first at once,
// drawn on the canvas as soon as it is decoded, then the others. Each settles through
// vk_decoded; the frames begin through vk_begin.
void vk_page_decode(const uint32_t* jpegs, int count, int width, int height);
// The page's title and the legend's caption.
void vk_page_name(const char* title, const char* caption);
// Adds a line to the legend: `keys` and what they do.
void vk_page_legend(const char* keys, const char* meaning);
// Draws slide `index`'s bitmap on the canvas at width by height; 0 when the page is hidden.
int vk_page_draw(int index, int width, int height);
// Hides the canvas.
void vk_page_hide();
// Takes away the progress bar: the loop runs, or the player has ended.
void vk_page_loaded();
// Puts `message` and a Play again button in the canvas's place; `status` as the page's exit
// status (data-exit-status), and on the console when it is not 0.
void vk_page_end(const char* message, int status);
}
