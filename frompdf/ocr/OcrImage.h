#pragma once

struct Pix;

// Prepares a page image for recognition: grey, sharpened, small pages scaled up, binarised by
// Otsu's method on a normalised background, freed of its specks (marks of no more than 1/150 inch
// either way) and deskewed. Takes ownership of image and returns
// the image to recognise, with the page's resolution (times the scale factor below); every other
// image made or given is destroyed. Images that are not 32 bits per pixel are returned unchanged.
Pix* prepareOcrImage(Pix* image, int tileWidth, int tileHeight, int threshold, int minCount, int backgroundValue,
                     int smoothX, int smoothY, float scoreFraction);

// The factor by which prepareOcrImage scales an image of width x height pixels with the given
// tile size before binarising: 1.0 when both sides hold at least five tiles, else the factor
// that makes the side with fewer tiles (the height when equal) exactly six tiles long.
float ocrScaleFactor(int width, int height, int tileWidth, int tileHeight);
