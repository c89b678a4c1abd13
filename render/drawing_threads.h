// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace kerf::map {

/// Qt's raster engine splits large fills and image conversions over the
/// threads of QThreadPool::globalInstance() and waits for them; a thread
/// that cannot be made (no memory left for its stack) leaves the drawing
/// waiting for ever. The first call makes the pool's threads while the
/// process is still small, keeps them for the life of the process and caps
/// the pool at the threads made, so that no drawing asks for a new thread
/// again: the share of a thread that could not be made runs on the threads
/// there are. Not one thread: DrawingFailed, at this call and every later
/// one, and nothing may be drawn. Call it before anything is drawn.
void prepareDrawingThreads();

} // namespace kerf::map
