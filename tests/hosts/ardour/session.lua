-- Runs one VST 2 plug-in in a headless session and records what it does.
--
-- Usage: ardour7-lua session.lua SESSION_DIR EFFECT_NAME SIGNAL.f32 SETTINGS REPORT
--   SIGNAL.f32  interleaved stereo 32-bit float samples, little-endian, at 48 kHz
--   SETTINGS    "index=normalised,index=normalised..." applied to the plug-in
--   REPORT      written on success: the parameter values and the recorded files of both takes
--
-- Take 1 is recorded in a new session; the session is then saved, closed and loaded again,
-- every parameter is compared with its value before the save, and take 2 is recorded from the
-- reloaded plug-in. Any failure raises an error, which makes the interpreter exit non-zero.

local session_dir, effect_name, signal_path, settings_arg, report_path = arg[1], arg[2], arg[3], arg[4], arg[5]
assert(report_path, "usage: session.lua SESSION_DIR EFFECT_NAME SIGNAL.f32 SETTINGS REPORT")

local session_name = "hostcheck"
local rate = 48000
local NoGroup = PBD.GroupControlDisposition.NoGroup
local FromScript = ARDOUR.TransportRequestSource.TRS_UI

-- print() output can be lost in this interpreter; stderr is not.
local function log(text)
	io.stderr:write("[session] " .. text .. "\n")
end

local function wait_until(what, seconds, condition)
	local deadline = ARDOUR.LuaAPI.monotonic_time() + seconds * 1e6
	while not condition() do
		if ARDOUR.LuaAPI.monotonic_time() > deadline then
			error("timed out waiting for " .. what)
		end
		ARDOUR.LuaAPI.usleep(10000)
	end
end

local function parse_settings(text)
	local settings = {}
	for index, value in string.gmatch(text, "(%d+)=([%d%.eE+-]+)") do
		settings[#settings + 1] = { index = tonumber(index), value = tonumber(value) }
	end
	assert(#settings > 0, "no settings in '" .. text .. "'")
	return settings
end

local function read_signal(path)
	local file = assert(io.open(path, "rb"))
	local data = file:read("a")
	file:close()
	assert(#data > 0 and #data % 8 == 0, path .. " is not interleaved stereo float")
	return data, #data // 8
end

-- The plug-in insert on a route whose plug-in answers the given name; nil when there is none.
local function find_plugin(route, name)
	local i = 0
	while true do
		local proc = route:nth_plugin(i)
		if proc:isnil() then
			return nil
		end
		if proc:to_insert():plugin(0):name() == name then
			return proc
		end
		i = i + 1
	end
end

local function fill_player(player, data, frames)
	local shmem = player:to_insert():plugin(0):to_luaproc():shmem()
	local capacity = shmem:atomic_get_int(1)
	assert(frames <= capacity, "signal longer than the player holds")
	shmem:atomic_set_int(0, 0)
	local left = shmem:to_float(2):array()
	local right = shmem:to_float(2 + capacity):array()
	for i = 1, frames do
		left[i], right[i] = string.unpack("<ff", data, (i - 1) * 8 + 1)
	end
	shmem:atomic_set_int(0, frames)
end

local function source_paths(track)
	local paths = {}
	for region in track:playlist():region_list():iter() do
		local audio = region:to_audioregion()
		for c = 0, audio:n_channels() - 1 do
			paths[#paths + 1] = region:source(c):to_filesource():path()
		end
	end
	return paths
end

-- Records the output of the player track onto the armed track from position 0 for the length
-- of the signal (plus a few blocks), and returns the new files, left then right.
local function record_take(rec_track, frames)
	local before = {}
	for _, path in ipairs(source_paths(rec_track)) do
		before[path] = true
	end
	rec_track:rec_enable_control():set_value(1, NoGroup)
	Session:request_locate(0, false, ARDOUR.LocateTransportDisposition.MustStop, FromScript)
	wait_until("locate to 0", 10, function() return Session:transport_sample() == 0 end)
	Session:maybe_enable_record(false)
	Session:request_roll(FromScript)
	wait_until("the recording to pass the end of the signal", 30,
		function() return Session:transport_sample() >= frames + 2048 end)
	Session:request_stop(false, false, FromScript)
	wait_until("the transport to stop", 10, function() return not Session:transport_rolling() end)
	rec_track:rec_enable_control():set_value(0, NoGroup)
	Session:disable_record(false, false)

	local new = {}
	wait_until("the recorded region", 10, function()
		new = {}
		for _, path in ipairs(source_paths(rec_track)) do
			if not before[path] then
				new[#new + 1] = path
			end
		end
		return #new == 2
	end)
	table.sort(new) -- the channel files differ only in their %L / %R suffix
	return new
end

local function parameter_values(proc)
	local values = {}
	local count = proc:to_insert():plugin(0):parameter_count()
	for i = 0, count - 1 do
		values[i] = ARDOUR.LuaAPI.get_processor_param(proc, i)
	end
	return values, count
end

local function start_engine()
	ARDOUR.config():set_hide_dummy_backend(false)
	assert(AudioEngine:set_backend("None (Dummy)", "", ""), "no dummy audio backend")
	AudioEngine:set_device_name("Silence")
	AudioEngine:set_sample_rate(rate)
	AudioEngine:set_buffer_size(512)
	assert(AudioEngine:start(false) == 0, "the audio engine did not start")
end

local function new_stereo_track(name)
	local list = Session:new_audio_track(2, 2, nil, 1, name, -1, ARDOUR.TrackMode.Normal, true)
	assert(list:size() == 1, "could not create track " .. name)
	return list:front()
end

-- Session 1: build, set, record, save.
local settings = parse_settings(settings_arg)
local data, frames = read_signal(signal_path)
start_engine()
assert(create_session(session_dir, session_name, rate), "could not create a session in " .. session_dir)
assert(Session:nominal_sample_rate() == rate, "session is not at " .. rate .. " Hz")

local play = new_stereo_track("Play")
local rec = new_stereo_track("Rec")

local player = ARDOUR.LuaAPI.new_luaproc(Session, "Test Signal Player")
assert(not player:isnil(), "the signal player script is not installed")
assert(play:add_processor_by_index(player, 0, nil, true) == 0, "could not insert the signal player")

local effect = ARDOUR.LuaAPI.new_plugin(Session, effect_name, ARDOUR.PluginType.LXVST, "")
if effect:isnil() then
	error("plug-in '" .. effect_name .. "' not found: the scan did not register it")
end
assert(play:add_processor_by_index(effect, 1, nil, true) == 0, "could not insert " .. effect_name)
local insert = effect:to_insert()
assert(insert:natural_input_streams():n_audio() == 2 and insert:natural_output_streams():n_audio() == 2,
	effect_name .. " is not running as a stereo plug-in")

for _, s in ipairs(settings) do
	assert(ARDOUR.LuaAPI.set_processor_param(effect, s.index, s.value),
		"could not set parameter " .. s.index)
end

-- The recording track listens to the plug-in track's outputs, channel for channel.
rec:input():disconnect_all(nil)
for c = 0, 1 do
	assert(rec:input():audio(c):connect(play:output():audio(c):name()) == 0, "could not connect the recorder")
end

fill_player(player, data, frames)
local take1 = record_take(rec, frames)
log("take 1: " .. table.concat(take1, " "))

local saved, count = parameter_values(effect)
for _, s in ipairs(settings) do
	if math.abs(saved[s.index] - s.value) > 1e-5 then
		error(string.format("parameter %d reads %.7f after being set to %.7f", s.index, saved[s.index], s.value))
	end
end
assert(Session:save_state("", false, false, false, false, false) == 0, "could not save the session")
effect, insert, player, play, rec = nil, nil, nil, nil, nil
close_session()

-- Session 2: load again, compare every parameter, record from the reloaded plug-in.
assert(load_session(session_dir, session_name), "could not load the saved session")
play = Session:route_by_name("Play"):to_track()
rec = Session:route_by_name("Rec"):to_track()
assert(not play:isnil() and not rec:isnil(), "the tracks did not survive the reload")
effect = find_plugin(play, effect_name)
assert(effect, effect_name .. " is missing from the reloaded session")
player = find_plugin(play, "Test Signal Player")
assert(player, "the signal player is missing from the reloaded session")

local loaded, loaded_count = parameter_values(effect)
assert(loaded_count == count, string.format("%d parameters after reload, %d before", loaded_count, count))
local report = assert(io.open(report_path .. ".part", "w"))
local changed = 0
for i = 0, count - 1 do
	report:write(string.format("param %d %.9g %.9g\n", i, saved[i], loaded[i]))
	if math.abs(saved[i] - loaded[i]) > 1e-6 then
		log(string.format("parameter %d: %.7f saved, %.7f after reload", i, saved[i], loaded[i]))
		changed = changed + 1
	end
end
if changed > 0 then
	error(changed .. " parameter value(s) did not survive the save and reload")
end

fill_player(player, data, frames)
local take2 = record_take(rec, frames)
log("take 2: " .. table.concat(take2, " "))
report:write("take1 " .. take1[1] .. " " .. take1[2] .. "\n")
report:write("take2 " .. take2[1] .. " " .. take2[2] .. "\n")
report:close()
close_session()
assert(os.rename(report_path .. ".part", report_path))
log("done")
