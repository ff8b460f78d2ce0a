ardour {
	["type"]    = "dsp",
	name        = "Test Signal Player",
	category    = "Utility",
	license     = "MIT",
	author      = "korvane",
	description = [[Plays a stereo signal from shared memory at the transport position; the session script fills it]]
}

-- Headless sessions cannot import audio files and a DSP script cannot open one, so the session
-- script copies the signal into this processor's shared memory. Layout, in 32-bit words:
--   [0] frames loaded (written last, so a half-filled buffer is never played),
--   [1] capacity in frames, then the left channel (capacity floats), then the right channel.
local header = 2
local capacity = 10 * 48000

function dsp_ioconfig ()
	return { { audio_in = 2, audio_out = 2 } }
end

function dsp_init (rate)
	local shmem = self:shmem ()
	shmem:allocate (header + 2 * capacity)
	shmem:clear ()
	shmem:atomic_set_int (0, 0)
	shmem:atomic_set_int (1, capacity)
end

function dsp_run (ins, outs, n_samples)
	for c = 1, 2 do
		ARDOUR.DSP.memset (outs[c], 0, n_samples)
	end
	local shmem = self:shmem ()
	local frames = shmem:atomic_get_int (0)
	local pos = Session:transport_sample ()
	if not Session:transport_rolling () or frames <= 0 or pos < 0 or pos >= frames then
		return
	end
	local n = math.min (n_samples, frames - pos)
	for c = 1, 2 do
		ARDOUR.DSP.copy_vector (outs[c], shmem:to_float (header + (c - 1) * capacity + pos), n)
	end
end
